#include "platform/clock.h"

#include <gtest/gtest.h>

#include <QThread>
#include <QTime>

#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {

// A zone half an hour off the hour, given as a rule so that no zone database is needed.
class LocalZone {
public:
    explicit LocalZone(const char* rule)
        : old_(qgetenv("TZ")), hadOld_(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", rule);
        tzset();
    }
    ~LocalZone() {
        if (hadOld_)
            qputenv("TZ", old_);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray old_;
    bool hadOld_;
};

} // namespace

// The wait reads this at every pass; it must stay the local time of day across the whole
// seconds at which its conversion is renewed.
TEST(SystemClock, SecondsSinceMidnightAreTheLocalTimeOfDayAcrossSeconds) {
    const LocalZone zone("XST-5:30");
    platform::SystemClock clock;
    int boundaries = 0;
    double previous = -1;
    while (boundaries < 3) {
        const QTime before = QTime::currentTime();
        const double seconds = clock.secondsSinceMidnight();
        const QTime after = QTime::currentTime();
        if (after < before) // midnight passed meanwhile
            continue;
        EXPECT_GE(seconds, before.msecsSinceStartOfDay() / 1000.0 - 0.001);
        EXPECT_LE(seconds, after.msecsSinceStartOfDay() / 1000.0 + 0.001);
        if (previous >= 0)
            boundaries += std::floor(seconds) != std::floor(previous);
        previous = seconds;
        QThread::msleep(20);
    }
}
