#pragma once

#include "platform/service.h"

#include <QString>

#include <memory>

namespace platform {

// The per-user settings store: text values addressed by application, section and key.
// Values are always text; converting them is the caller's business (classicconvert.h).
// Each module has its own (service.h).
class SettingsStore : public Service<SettingsStore> {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or defaultValue when the key is missing. Raises a classic file error
    // when the store cannot be read.
    virtual QString GetSetting(const QString& application, const QString& section,
                               const QString& key, const QString& defaultValue = {}) const = 0;
    virtual void SaveSetting(const QString& application, const QString& section, const QString& key,
                             const QString& value) = 0;

    // One INI file per application in the user's configuration folder.
    static SettingsStore& production();
};

// One INI file per application name in the user's configuration folder, where
// QSettings(IniFormat, UserScope, application) kept it, in the same format. The file is the
// user's: a write changes only its key (other sections, keys and comments keep their
// bytes) and replaces the file at once (temporary file and rename). A file that cannot be
// read (a folder, no permission, over 1 MB) makes reads and writes raise the classic file
// error; one that cannot be parsed makes reads raise error 75 and is never rewritten (a
// write to it is dropped with a warning on the standard error).
class IniSettingsStore final : public SettingsStore {
public:
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue = {}) const override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
};

} // namespace platform
