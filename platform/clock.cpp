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
    tm local{};
    localtime_r(&now.tv_sec, &local);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
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
