#pragma once

#include <QString>

#include <memory>

namespace platform {

// The per-user settings store: text values addressed by application, section and key.
// Values are always text; converting them is the caller's business (classicconvert.h).
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or defaultValue when the key is missing.
    virtual QString GetSetting(const QString& application, const QString& section,
                               const QString& key, const QString& defaultValue = {}) const = 0;
    virtual void SaveSetting(const QString& application, const QString& section, const QString& key,
                             const QString& value) = 0;

    // The store the program uses: one INI file per application in the user's configuration
    // folder, unless a test has put another in its place.
    static SettingsStore& current();
    // Puts store in place of the current one until the returned guard is destroyed.
    class Override;
};

// One INI file per application name: QSettings(IniFormat, UserScope, application).
class IniSettingsStore final : public SettingsStore {
public:
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue = {}) const override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
};

class SettingsStore::Override {
public:
    explicit Override(SettingsStore& store);
    ~Override();
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

private:
    SettingsStore* previous_;
};

} // namespace platform
