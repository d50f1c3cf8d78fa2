#pragma once

#include <trapwell/comtypes.h>

#include <QString>

namespace trapwell {

// {25364A3D-E6E6-4150-ABFC-D0AD0B843AF1}
inline constexpr Guid CLSID_SysObj{
    0x25364A3D, 0xE6E6, 0x4150, {0xAB, 0xFC, 0xD0, 0xAD, 0x0B, 0x84, 0x3A, 0xF1}};
// {BE56D1A1-FDC7-4EB1-B0B3-BA88D37959B1}
inline constexpr Guid IID_SysObj{
    0xBE56D1A1, 0xFDC7, 0x4EB1, {0xB0, 0xB3, 0xBA, 0x88, 0xD3, 0x79, 0x59, 0xB1}};

// Nine read-only texts about the machine, asked afresh on every read.
// Append-only: slot order and identifiers never change.
class ISysObj : public IUnknown {
public:
    virtual HResult get_PlatForm(QString* result) = 0;                // slot 0
    virtual HResult get_OsVersion(QString* result) = 0;               // slot 1
    virtual HResult get_Build(QString* result) = 0;                   // slot 2
    virtual HResult get_ServicePack(QString* result) = 0;             // slot 3
    virtual HResult get_Cpu(QString* result) = 0;                     // slot 4
    virtual HResult get_TotalPhysicalMemory(QString* result) = 0;     // slot 5
    virtual HResult get_AvailablePhysicalMemory(QString* result) = 0; // slot 6
    virtual HResult get_TotalVirtualMemory(QString* result) = 0;      // slot 7
    virtual HResult get_AvailableVirtualMemory(QString* result) = 0;  // slot 8

protected:
    ~ISysObj() = default;
};

} // namespace trapwell
