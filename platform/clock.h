#pragma once

#include <QDateTime>

namespace platform {

// The local time of day, from one place, so tests can fix it (a report's time stamp, a wait
// that starts just before midnight).
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Seconds since local midnight, with fractions.
    virtual double secondsSinceMidnight() const;

    // The system clock, unless a test has put another in its place.
    static const Clock& current();
    class Override;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    // Read on every pass of a wait, so kept to one system call.
    double secondsSinceMidnight() const override;
};

// Puts clock in place of the current one until the guard is destroyed. Guards nest.
class Clock::Override {
public:
    explicit Override(const Clock& clock);
    ~Override();
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

private:
    const Clock* previous_;
};

// The default text of a date and time in the user's locale: its short date, a blank and
// its time with seconds ("12/6/26 5:09:38 PM" in the United States).
QString dateTimeText(const QDateTime& when, const QLocale& locale);

} // namespace platform
