#include "sysinfo/sysobj.h"

#include "com/errorrecord.h"

#include <QLocale>
#include <trapwell/comtypes.h>

#include <new>
#include <utility>

namespace trapwell::sysinfo {

SysObj::SysObj(std::shared_ptr<const OsQueries> queries)
    : queries_(queries ? std::move(queries) : std::make_shared<LinuxOsQueries>()) {
}

HResult SysObj::queryInterface(const Guid& iid, void** out) {
    if (!out)
        return status::pointer;
    if (iid == IID_IUnknown || iid == IID_SysObj)
        return offer(static_cast<ISysObj*>(this), out);
    if (iid == IID_ISupportErrorRecord)
        return offer(static_cast<ISupportErrorRecord*>(this), out);
    return refuse(out);
}

OsVersionInfo SysObj::version() const {
    OsVersionInfo info;
    return queries_->versionInfo(info) ? info : OsVersionInfo{};
}

template <class Compose> HResult SysObj::answer(QString* result, Compose&& compose) {
    if (!result)
        return status::pointer;
    if (!onOwnerThread())
        return status::wrongThread;
    return com::guard(QStringLiteral("Trapwell"), [&] { *result = compose(); });
}

HResult SysObj::get_PlatForm(QString* result) {
    return answer(result, [this] { return platformText(version().platformId); });
}

HResult SysObj::get_OsVersion(QString* result) {
    return answer(result, [this] {
        const OsVersionInfo v = version();
        return osVersionText(v.major, v.minor);
    });
}

HResult SysObj::get_Build(QString* result) {
    return answer(result, [this] { return QString::number(version().build); });
}

// Always 0: Linux has no service packs.
HResult SysObj::get_ServicePack(QString* result) {
    return answer(result, [] { return QStringLiteral("0"); });
}

HResult SysObj::get_Cpu(QString* result) {
    return answer(result, [this] { return cpuText(queries_->processorType()); });
}

HResult SysObj::get_TotalPhysicalMemory(QString* result) {
    return answer(result,
                  [this] { return memoryText(queries_->memoryStatus().totalPhys, QLocale()); });
}

HResult SysObj::get_AvailablePhysicalMemory(QString* result) {
    return answer(result,
                  [this] { return memoryText(queries_->memoryStatus().availPhys, QLocale()); });
}

HResult SysObj::get_TotalVirtualMemory(QString* result) {
    return answer(result,
                  [this] { return memoryText(queries_->memoryStatus().totalVirtual, QLocale()); });
}

HResult SysObj::get_AvailableVirtualMemory(QString* result) {
    return answer(result,
                  [this] { return memoryText(queries_->memoryStatus().availVirtual, QLocale()); });
}

HResult SysObj::GetErrorRecord(std::int32_t* number, QString* source, QString* description) {
    return com::readErrorRecord(number, source, description);
}

HResult createSysObj(const Guid& iid, void** out) {
    return createSysObjWith(nullptr, iid, out);
}

HResult createSysObjWith(std::shared_ptr<const OsQueries> queries, const Guid& iid, void** out) {
    // createObject catches whatever the constructor throws.
    return com::createObject<SysObj>(iid, out, std::move(queries));
}

} // namespace trapwell::sysinfo
