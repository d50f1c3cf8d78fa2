#include "com/classregistry.h"

#include <QSettings>

namespace com {

namespace {
QSettings registry() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ComClasses"));
}
QString classGroup(const com::Guid& clsid) {
    return QStringLiteral("CLSID/") + clsid.toString();
}
} // namespace

bool ClassRegistry::registerClass(const com::Guid& clsid, const QString& libraryPath,
                                  const QString& progId) {
    QSettings s = registry();
    s.setValue(classGroup(clsid) + QStringLiteral("/InprocServer32"), libraryPath);
    s.setValue(classGroup(clsid) + QStringLiteral("/ProgID"), progId);
    if (!progId.isEmpty())
        s.setValue(QStringLiteral("ProgID/") + progId + QStringLiteral("/CLSID"), clsid.toString());
    s.sync();
    return s.status() == QSettings::NoError;
}

bool ClassRegistry::unregisterClass(const com::Guid& clsid) {
    QSettings s = registry();
    const QString progId = s.value(classGroup(clsid) + QStringLiteral("/ProgID")).toString();
    s.remove(classGroup(clsid));
    if (!progId.isEmpty())
        s.remove(QStringLiteral("ProgID/") + progId);
    s.sync();
    return s.status() == QSettings::NoError;
}

std::optional<QString> ClassRegistry::libraryOf(const com::Guid& clsid) {
    const QString path =
        registry().value(classGroup(clsid) + QStringLiteral("/InprocServer32")).toString();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<com::Guid> ClassRegistry::classOf(const QString& progId) {
    return com::Guid::parse(
        registry().value(QStringLiteral("ProgID/") + progId + QStringLiteral("/CLSID")).toString());
}

} // namespace com
