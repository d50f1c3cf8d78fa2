#include "platform/settingsstore.h"

#include "platform/classicerrors.h"

#include <QSettings>
#include <QStringList>

namespace platform {

namespace {

QString keyPath(const QString& section, const QString& key) {
    return section + u'/' + key;
}

} // namespace

SettingsStore& SettingsStore::production() {
    static IniSettingsStore iniStore;
    return iniStore;
}

QString IniSettingsStore::GetSetting(const QString& application, const QString& section,
                                     const QString& key, const QString& defaultValue) const {
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, application);
    const QVariant value = settings.value(keyPath(section, key));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited "a, b" without quotes comes back as a list; the user meant the text.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void IniSettingsStore::SaveSetting(const QString& application, const QString& section,
                                   const QString& key, const QString& value) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, application);
    settings.setValue(keyPath(section, key), value);
    settings.sync();
    // A setting that silently fails to reach the disk would only surface at the next start.
    if (settings.status() == QSettings::AccessError)
        raiseError(err::pathFileAccessError);
}

} // namespace platform
