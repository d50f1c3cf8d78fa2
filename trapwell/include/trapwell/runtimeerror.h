#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace trapwell {

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

} // namespace trapwell
