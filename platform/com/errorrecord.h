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

// Runs a member's body: any exception becomes the error record (its number by
// currentExceptionAsError; source, the module's name, for errors that carry none) plus a
// failed status. Nothing escapes across the boundary.
template <class Body> trapwell::HResult guard(const QString& source, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return trapwell::status::ok;
    } catch (...) {
        try {
            const trapwell::RuntimeError e = trapwell::currentExceptionAsError(source);
            setErrorRecord(e.number(), e.source().isEmpty() ? source : e.source(), e.description());
            return e.number() == trapwell::errnum::outOfMemory
                       ? trapwell::status::outOfMemory
                       : trapwell::statusFromErrorNumber(e.number());
        } catch (...) {
            // No memory even for the record.
            return trapwell::status::outOfMemory;
        }
    }
}

} // namespace platform::com
