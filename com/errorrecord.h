#pragma once

#include "com/unknown.h"

#include "com/runtimeerror.h"

#include <QString>

#include <cstdint>
#include <new>
#include <utility>

namespace com {

// A raised error travels as a failed status: 0x800A0000 | number for classic numbers, the
// number itself when it already is a failed status (0x800403E9 and the like).
inline HResult statusFromErrorNumber(std::int32_t number) {
    return number < 0 ? number : HResult(0x800A0000u | (std::uint32_t(number) & 0xFFFFu));
}
inline std::int32_t errorNumberFromStatus(HResult hr) {
    const auto u = static_cast<std::uint32_t>(hr);
    return (u & 0xFFFF0000u) == 0x800A0000u ? std::int32_t(u & 0xFFFFu) : hr;
}

// Objects of the component answer this interface. When a member returns a failed status,
// the record of the failure (kept per thread inside the component) is read through it.
// Append-only: slot order and identifier never change.
// {7C3E2A10-5B41-4E8B-9F0D-3A6C1E2B8D41}
inline constexpr Guid IID_ISupportErrorRecord{
    0x7C3E2A10, 0x5B41, 0x4E8B, {0x9F, 0x0D, 0x3A, 0x6C, 0x1E, 0x2B, 0x8D, 0x41}};

class ISupportErrorRecord : public IUnknown {
public:
    // Hands out the record of the last failure in this thread; status::falseResult
    // (and a zero number) when there is none.
    virtual HResult GetErrorRecord(std::int32_t* number, QString* source, QString* description) = 0;

protected:
    ~ISupportErrorRecord() = default;
};

// The per-thread record of the last error a member of this module raised to its caller.
void setErrorRecord(std::int32_t number, const QString& source, const QString& description);
void clearErrorRecord();
// status::falseResult and a zero number when there is none.
com::HResult readErrorRecord(std::int32_t* number, QString* source, QString* description);

// Runs a member's body: any exception becomes the error record (its number by
// currentExceptionAsError; source, the module's name, for errors that carry none) plus a
// failed status. Nothing escapes across the boundary.
template <class Body> com::HResult guard(const QString& source, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return com::status::ok;
    } catch (...) {
        try {
            const com::RuntimeError e = com::currentExceptionAsError(source);
            setErrorRecord(e.number(), e.source().isEmpty() ? source : e.source(), e.description());
            return e.number() == com::errnum::outOfMemory ? com::status::outOfMemory
                                                          : com::statusFromErrorNumber(e.number());
        } catch (...) {
            // No memory even for the record.
            return com::status::outOfMemory;
        }
    }
}

} // namespace com
