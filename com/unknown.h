#pragma once

#include "com/guid.h"

#include <cstdint>

namespace com {

// COM-style status codes: negative means failure.
using HResult = std::int32_t;

namespace status {
inline constexpr HResult ok = 0;
inline constexpr HResult falseResult = 1;
inline constexpr HResult noInterface = HResult(0x80004002u);
inline constexpr HResult pointer = HResult(0x80004003u);
inline constexpr HResult fail = HResult(0x80004005u);
inline constexpr HResult unexpected = HResult(0x8000FFFFu);
inline constexpr HResult outOfMemory = HResult(0x8007000Eu);
inline constexpr HResult invalidArg = HResult(0x80070057u);
inline constexpr HResult noAggregation = HResult(0x80040110u);
inline constexpr HResult classNotAvailable = HResult(0x80040111u);
inline constexpr HResult classNotRegistered = HResult(0x80040154u);
inline constexpr HResult selfRegClass = HResult(0x80040201u);
// A member raised a runtime error; its record holds number, source and description.
inline constexpr HResult exception = HResult(0x80020009u);
// The object was called from a thread other than the one that created it (RPC_E_WRONG_THREAD).
inline constexpr HResult wrongThread = HResult(0x8001010Eu);
} // namespace status

inline constexpr bool succeeded(HResult hr) {
    return hr >= 0;
}
inline constexpr bool failed(HResult hr) {
    return hr < 0;
}

// {00000000-0000-0000-C000-000000000046}
inline constexpr Guid IID_IUnknown{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The base of every interface of the component. Reference counted: addRef and release
// return the new count; an object deletes itself when its count reaches zero.
class IUnknown {
public:
    virtual HResult queryInterface(const Guid& iid, void** out) = 0;
    virtual std::uint32_t addRef() = 0;
    virtual std::uint32_t release() = 0;

protected:
    ~IUnknown() = default;
};

} // namespace com
