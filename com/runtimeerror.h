#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <new>
#include <string>

namespace com {

// A classic runtime error: the number a caller's error path branches on, the source that
// raised it and a description for people. Thrown by our code and by the host-side
// wrappers when a component member fails.
class RuntimeError : public std::exception {
public:
    RuntimeError(std::int32_t number, QString source, QString description)
        : number_(number), source_(std::move(source)), description_(std::move(description)),
          what_(description_.toStdString()) {}

    std::int32_t number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::int32_t number_;
    QString source_;
    QString description_;
    std::string what_;
};

// Classic numbers of the failures that are not raised as a RuntimeError.
namespace errnum {
inline constexpr std::int32_t outOfMemory = 7;    // std::bad_alloc
inline constexpr std::int32_t internalError = 51; // any other exception
} // namespace errnum

// The one mapping from a caught exception to a classic error: a RuntimeError as it is,
// std::bad_alloc as error 7 "Out of memory", anything else as error 51 "Internal error",
// those two with the given source. Call only inside a catch block.
inline RuntimeError currentExceptionAsError(const QString& source = {}) {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(errnum::outOfMemory, source, QStringLiteral("Out of memory"));
    } catch (...) {
        return RuntimeError(errnum::internalError, source, QStringLiteral("Internal error"));
    }
}

// The number alone, for members that never raise and report a number as their result.
inline std::int32_t currentExceptionNumber() noexcept {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e.number();
    } catch (const std::bad_alloc&) {
        return errnum::outOfMemory;
    } catch (...) {
        return errnum::internalError;
    }
}

} // namespace com
