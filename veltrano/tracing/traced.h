#pragma once

#include "tracing/clsaehandling.h"

#include <trapwell/comtypes.h>

#include <QObject>
#include <QStringView>
#include <QVariant>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <type_traits>

namespace veltrano {

// The tracing every procedure of the program follows. The constructor reports the entry
// (Push) and param() each parameter (AddParam); both run before the error trap, so their
// failures go to the caller. run() then runs the body under the trap: a normal end reports
// the exit (Pop); a failure is handed to HandleError with the number of the last line the
// body marked, and the procedure returns its empty default without Pop.
//
//     Traced proc(u"Form2.time2");
//     proc.run([&](Traced::Line& at) {
//         at(10); FormOnTop(hWnd);
//         at(20); AlwaysOnTop();
//     });
class Traced {
public:
    // Marks the numbered line about to run; numbers rise in steps of 10.
    class Line {
    public:
        void operator()(int number) { number_ = number; }
        int number() const { return number_; }

    private:
        int number_ = 0;
    };

    // The procedure's name, a literal: the trace keeps it without a copy, which is what lets
    // a procedure that runs at every tick cost next to nothing.
    template <std::size_t N>
    explicit Traced(const char16_t (&procedureName)[N])
        : Traced(QStringView(procedureName, qsizetype(N - 1))) {}
    // A name that lives as long as the program does, as a literal's text.
    explicit Traced(QStringView procedureName);

    template <class T> Traced& param(const char* name, const char* type, const T& value) {
        addParam(name, type, asVariant(value));
        return *this;
    }

    // For procedures without a result. Returns false when the body failed.
    template <class Body> bool run(Body&& body) {
        try {
            body(line_);
        } catch (...) {
            report(std::current_exception());
            return false;
        }
        end();
        return true;
    }

    // For functions: the body's result, or fallback (the empty default) when it failed.
    template <class R, class Body> R run(R fallback, Body&& body) {
        try {
            R result = body(line_);
            end();
            return result;
        } catch (...) {
            report(std::current_exception());
            return fallback;
        }
    }

    // For procedures that go on after a failing statement: each step is tried, a failure is
    // remembered, and finish() reports the exit normally.
    template <class Step> void attempt(int line, Step&& step) {
        line_(line);
        try {
            step();
        } catch (...) {
            pending_ = trapwell::currentExceptionNumber();
        }
    }
    bool errorPending() const { return pending_ != 0; }
    void finish() { end(); }

private:
    template <class T> static QVariant asVariant(const T& value) {
        if constexpr (std::is_pointer_v<T> && std::is_base_of_v<QObject, std::remove_pointer_t<T>>)
            return QVariant::fromValue<QObject*>(
                const_cast<QObject*>(static_cast<const QObject*>(value)));
        else if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
            return QVariant(qlonglong(value));
        else
            return QVariant::fromValue(value);
    }

    void addParam(const char* name, const char* type, const QVariant& value);
    void report(std::exception_ptr error);
    void end();

    Line line_;
    std::int32_t pending_ = 0;
};

} // namespace veltrano
