#pragma once

#include "trapwell/unknown.h"

#include <QString>

namespace trapwell {

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

} // namespace trapwell
