#include "platform/clock.h"

#include <QLocale>
#include <QRegularExpression>

#include <ctime>

namespace platform {

double Clock::secondsSinceMidnight() const {
    const QTime t = now().time();
    return t.msecsSinceStartOfDay() / 1000.0;
}

double SystemClock::secondsSinceMidnight() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    // The local time of a whole second, converted once: a wait reads the clock at every
    // pass, and the conversion costs many times the reading. The offset from UTC changes
    // only at whole seconds. Second and local second share one word, so any thread may read
    // and renew it.
    constexpr int localBits = 17; // 0 .. 86400
    std::uint64_t known = secondOfDay_.load(std::memory_order_relaxed);
    if (std::int64_t(known >> localBits) != std::int64_t(now.tv_sec)) {
        tm local{};
        localtime_r(&now.tv_sec, &local);
        const auto daySecond =
            std::uint64_t(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
        known = (std::uint64_t(now.tv_sec) << localBits) | daySecond;
        secondOfDay_.store(known, std::memory_order_relaxed);
    }
    return double(known & ((std::uint64_t(1) << localBits) - 1)) + now.tv_nsec / 1e9;
}

Clock& Clock::production() {
    static SystemClock systemClock;
    return systemClock;
}

QString dateTimeText(const QDateTime& when, const QLocale& locale) {
    // The locale's long time format, without the time zone it carries.
    static const QRegularExpression zone(QStringLiteral("\\s*\\(?t+\\)?"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zone);
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(when.time(), timeFormat.trimmed());
}

} // namespace platform
