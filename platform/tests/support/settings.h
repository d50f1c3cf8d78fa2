#pragma once

// The settings files tests plant, read and remove: "<XDG_CONFIG_HOME>/<application>.ini", the
// store every part of the system writes through. Keys are "Section/Key".

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QVariant>

namespace testsettings {

inline QString path(const QString& application) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           application + QStringLiteral(".ini");
}

inline void store(const QString& application, const QString& key, const QVariant& value) {
    QSettings(QSettings::IniFormat, QSettings::UserScope, application).setValue(key, value);
}

inline QString stored(const QString& application, const QString& key) {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, application).value(key).toString();
}

// The application's settings file gone, as on a fresh profile.
inline void forget(const QString& application) {
    QFile::remove(path(application));
}

} // namespace testsettings
