#pragma once

#include <trapwell/errorrecord.h>
#include <trapwell/runtimeerror.h>

#include <QString>

#include <cstdint>
#include <new>
#include <utility>

namespace platform::com {

// The per-thread record of the last error a member of this module raised to its caller.
void setErrorRecord(std::int32_t number, const QString& source, const QString& description);
void clearErrorRecord();
// status::falseResult and a zero number when there is none.
trapwell::HResult readErrorRecord(std::int32_t* number, QString* source, QString* description);

// Runs a member's body: a RuntimeError becomes the error record plus a failed status; any
// other exception becomes error 51 ("Internal error"). Nothing escapes across the boundary.
template <class Body> trapwell::HResult guard(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return trapwell::status::ok;
    } catch (const trapwell::RuntimeError& e) {
        setErrorRecord(e.number(), e.source(), e.description());
        return trapwell::statusFromErrorNumber(e.number());
    } catch (const std::bad_alloc&) {
        setErrorRecord(7, QStringLiteral("Trapwell"), QStringLiteral("Out of memory"));
        return trapwell::status::outOfMemory;
    } catch (...) {
        setErrorRecord(51, QStringLiteral("Trapwell"), QStringLiteral("Internal error"));
        return trapwell::statusFromErrorNumber(51);
    }
}

} // namespace platform::com
