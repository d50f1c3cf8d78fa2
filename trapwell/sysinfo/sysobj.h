#pragma once

#include "sysinfo/osinfo.h"

#include "com/comobject.h"

#include <trapwell/comtypes.h>
#include <trapwell/sysobj.h>

#include <memory>

namespace trapwell::sysinfo {

// The system-information object. It keeps no answers: every property asks its queries
// afresh, so two reads may differ.
class SysObj final : public com::ComObject<SysObj, ISysObj, ISupportErrorRecord> {
public:
    // Null queries mean the running system's.
    explicit SysObj(std::shared_ptr<const OsQueries> queries = nullptr);

    HResult queryInterface(const Guid& iid, void** out) override;

    HResult get_PlatForm(QString* result) override;
    HResult get_OsVersion(QString* result) override;
    HResult get_Build(QString* result) override;
    HResult get_ServicePack(QString* result) override;
    HResult get_Cpu(QString* result) override;
    HResult get_TotalPhysicalMemory(QString* result) override;
    HResult get_AvailablePhysicalMemory(QString* result) override;
    HResult get_TotalVirtualMemory(QString* result) override;
    HResult get_AvailableVirtualMemory(QString* result) override;

    HResult GetErrorRecord(std::int32_t* number, QString* source, QString* description) override;

private:
    // Only release() ends the object.
    friend class com::ComObject<SysObj, ISysObj, ISupportErrorRecord>;
    ~SysObj() override = default;

    // The version record, all zeros when the query fails.
    OsVersionInfo version() const;
    template <class Compose> HResult answer(QString* result, Compose&& compose);

    std::shared_ptr<const OsQueries> queries_;
};

// What the class factory calls: a SysObj over the running system.
HResult createSysObj(const Guid& iid, void** out);
// A SysObj over the given queries (null: the running system's).
HResult createSysObjWith(std::shared_ptr<const OsQueries> queries, const Guid& iid, void** out);

} // namespace trapwell::sysinfo
