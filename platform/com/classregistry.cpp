#include "platform/com/classregistry.h"

#include <QSettings>

namespace platform::com {

namespace {
QSettings registry() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ComClasses"));
}
QString classGroup(const trapwell::Guid& clsid) {
    return QStringLiteral("CLSID/") + clsid.toString();
}
} // namespace

bool ClassRegistry::registerClass(const trapwell::Guid& clsid, const QString& libraryPath,
                                  const QString& progId) {
    QSettings s = registry();
    s.setValue(classGroup(clsid) + QStringLiteral("/InprocServer32"), libraryPath);
    s.setValue(classGroup(clsid) + QStringLiteral("/ProgID"), progId);
    if (!progId.isEmpty())
        s.setValue(QStringLiteral("ProgID/") + progId + QStringLiteral("/CLSID"), clsid.toString());
    s.sync();
    return s.status() == QSettings::NoError;
}

bool ClassRegistry::unregisterClass(const trapwell::Guid& clsid) {
    QSettings s = registry();
    const QString progId = s.value(classGroup(clsid) + QStringLiteral("/ProgID")).toString();
    s.remove(classGroup(clsid));
    if (!progId.isEmpty())
        s.remove(QStringLiteral("ProgID/") + progId);
    s.sync();
    return s.status() == QSettings::NoError;
}

std::optional<QString> ClassRegistry::libraryOf(const trapwell::Guid& clsid) {
    const QString path =
        registry().value(classGroup(clsid) + QStringLiteral("/InprocServer32")).toString();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<trapwell::Guid> ClassRegistry::classOf(const QString& progId) {
    return trapwell::Guid::parse(
        registry().value(QStringLiteral("ProgID/") + progId + QStringLiteral("/CLSID")).toString());
}

} // namespace platform::com
