#pragma once

#include "com/runtimeerror.h"

#include <QString>

#include <cstdint>

namespace platform {

// The classic runtime-error numbers our behaviour depends on.
namespace err {
inline constexpr std::int32_t invalidProcedureCall = 5;
inline constexpr std::int32_t overflow = 6;
inline constexpr std::int32_t subscriptOutOfRange = 9;
inline constexpr std::int32_t typeMismatch = 13;
inline constexpr std::int32_t badFileNameOrNumber = 52;
inline constexpr std::int32_t fileNotFound = 53;
inline constexpr std::int32_t diskFull = 61;
inline constexpr std::int32_t permissionDenied = 70;
inline constexpr std::int32_t pathFileAccessError = 75;
inline constexpr std::int32_t pathNotFound = 76;
inline constexpr std::int32_t objectNotSet = 91;
inline constexpr std::int32_t invalidPropertyValue = 380;
inline constexpr std::int32_t objectRequired = 424;
inline constexpr std::int32_t cannotCreateObject = 429;
inline constexpr std::int32_t memberNotSupported = 438;
inline constexpr std::int32_t actionNotSupported = 445;
inline constexpr std::int32_t dllFunctionNotFound = 453;
} // namespace err

// The classic description of an error number ("Overflow", "Type mismatch", ...);
// "Application-defined or object-defined error" for numbers without a text of their own.
QString classicErrorText(std::int32_t number);

// A RuntimeError with the classic description of its number.
com::RuntimeError classicError(std::int32_t number, const QString& source = {});

// Throws classicError(number, source).
[[noreturn]] void raiseError(std::int32_t number, const QString& source = {});

// The classic file error an operating-system errno stands for (ENOENT on a folder -> 76,
// EACCES -> 75, ENOSPC -> 61, ...).
std::int32_t errorNumberFromErrno(int errnoValue);

} // namespace platform
