#pragma once

#include <trapwell/comtypes.h>

#include <cstdint>

namespace trapwell {

// {DB63AAD3-C616-49EB-94B8-1E501340CE97}
inline constexpr Guid DIID_clsErrHandlerEvents{
    0xDB63AAD3, 0xC616, 0x49EB, {0x94, 0xB8, 0x1E, 0x50, 0x13, 0x40, 0xCE, 0x97}};

// What a host implements to hear clsErrHandler's events, in declaration order.
// Append-only: slot order and identifiers never change.
class IclsErrHandlerEvents : public IUnknown {
public:
    // Cancel is false on entry; setting it skips the composition of the report.
    virtual HResult BeforeHandlerCalled(bool* Cancel) = 0; // slot 0
    virtual HResult AfterHandlerCalled() = 0;              // slot 1

protected:
    ~IclsErrHandlerEvents() = default;
};

// {5E0B7F2C-9A34-4C61-8D27-B14F6E3A9C05}
inline constexpr Guid IID_IConnectionPoint{
    0x5E0B7F2C, 0x9A34, 0x4C61, {0x8D, 0x27, 0xB1, 0x4F, 0x6E, 0x3A, 0x9C, 0x05}};

// Reached through queryInterface on an object that raises events. The source holds a
// reference to each connected sink until it is disconnected or the source dies.
class IConnectionPoint : public IUnknown {
public:
    // The sink must answer the source's event interface; the cookie names the connection.
    virtual HResult Advise(IUnknown* sink, std::uint32_t* cookie) = 0;
    virtual HResult Unadvise(std::uint32_t cookie) = 0;

protected:
    ~IConnectionPoint() = default;
};

} // namespace trapwell
