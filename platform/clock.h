#pragma once

#include "platform/service.h"

#include <QDateTime>

#include <atomic>
#include <cstdint>

namespace platform {

// The local time of day, from one place, so tests can fix it (a report's time stamp, a wait
// that starts just before midnight).
// Each module has its own (service.h).
class Clock : public Service<Clock> {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Seconds since local midnight, with fractions.
    virtual double secondsSinceMidnight() const;

    // The system clock.
    static Clock& production();
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    // Read on every pass of a wait, so kept to one clock reading.
    double secondsSinceMidnight() const override;

private:
    // The last whole second converted to local time, and its second of the day.
    mutable std::atomic<std::uint64_t> secondOfDay_{0};
};

// The default text of a date and time in the user's locale: its short date, a blank and
// its time with seconds ("12/6/26 5:09:38 PM" in the United States).
QString dateTimeText(const QDateTime& when, const QLocale& locale);

} // namespace platform
