#include "presentation/wait.h"

#include "../support/programfixture.h"

#include <QElapsedTimer>
#include <QTimer>

using veltrano::Wait;

namespace {
class WaitTest : public ProgramTest {};
} // namespace

TEST_F(WaitTest, ZeroSecondsHandlesPendingEventsOnce) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    Wait(0.0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(traceLines(), QStringList({"modSubliminal.Wait"}));
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
}

TEST_F(WaitTest, AChangedIntervalChangesTheWaitInProgress) {
    // One second passes per reading of the clock, starting at noon.
    SteppingClock clock(12 * 3600.0, 1.0);
    platform::Clock::Override useClock(clock);
    std::int16_t seconds = 15;
    // Raise the interval from an event handled inside the wait, 12 seconds in.
    QTimer raise;
    QObject::connect(&raise, &QTimer::timeout, [&] {
        if (clock.peek() >= 12 * 3600.0 + 12)
            seconds = 20;
    });
    raise.start(0);
    Wait(seconds);
    EXPECT_EQ(seconds, 20);
    // Ended at the first reading at or past entry + 20 s (each pass reads the clock twice).
    EXPECT_GE(clock.peek(), 12 * 3600.0 + 20);
    EXPECT_LE(clock.peek(), 12 * 3600.0 + 23);
}

TEST_F(WaitTest, AWaitAcrossMidnightEndsJustAfterIt) {
    SteppingClock clock(23 * 3600.0 + 59 * 60 + 55, 1.0);
    platform::Clock::Override useClock(clock);
    Wait(15.0);
    EXPECT_LT(clock.peek(), 10.0);

    // Starting inside the first ten seconds after midnight: one pass only.
    SteppingClock early(2.0, 0.001);
    platform::Clock::Override useEarly(early);
    Wait(15.0);
    EXPECT_LT(early.peek(), 2.01);
}

TEST_F(WaitTest, AShortWaitEndsOnTheRealClock) {
    QElapsedTimer elapsed;
    elapsed.start();
    Wait(0.3);
    EXPECT_GE(elapsed.elapsed(), 299);
}
