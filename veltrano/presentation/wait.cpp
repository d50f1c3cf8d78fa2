#include "presentation/wait.h"

#include "tracing/traced.h"

#include "platform/clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>

namespace veltrano {

namespace {

constexpr double secondsPerDay = 86400.0;

// Wakes the wait at its deadline. Kept armed across passes while the deadline stays, so a
// pass woken by some other event (the main window's timer, every 16 ms) costs no more than
// that event.
struct WakeUp {
    QTimer timer;
    double armedFor = -1;
};

// One pass of event handling that sleeps in the event dispatcher until an event comes or the
// wait's deadline (or midnight, where the wait ends early) is reached. Everything else the
// wait must notice (a click on Stop, a changed interval) is an event and wakes it anyway,
// so an idle wait costs no processor time between its two wake-ups. A clock put in place
// of the system's (in tests) has no relation to real time: then nothing sleeps.
void handleEventsUntil(WakeUp& wakeUp, const platform::Clock& clock, bool realTime,
                       double deadline) {
    if (!realTime) {
        wakeUp.timer.start(0);
    } else if (const double target = std::min(deadline, secondsPerDay);
               !wakeUp.timer.isActive() || target != wakeUp.armedFor) {
        const double until = target - clock.secondsSinceMidnight();
        wakeUp.timer.start(int(std::ceil(std::clamp(until, 0.0, secondsPerDay) * 1000.0)));
        wakeUp.armedFor = target;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void waitFor(const std::function<double()>& seconds, const QVariant& recorded) {
    Traced proc(u"modSubliminal.Wait");
    proc.param("intSeconds", "Integer", recorded);
    proc.run([&](Traced::Line& at) {
        const platform::Clock& clock = platform::Clock::current();
        const bool realTime = dynamic_cast<const platform::SystemClock*>(&clock) != nullptr;
        at(10);
        const double entry = clock.secondsSinceMidnight();
        WakeUp wakeUp;
        wakeUp.timer.setSingleShot(true);
        wakeUp.timer.setTimerType(Qt::PreciseTimer);
        for (;;) {
            at(20);
            handleEventsUntil(wakeUp, clock, realTime, entry + seconds());
            at(30);
            const double now = clock.secondsSinceMidnight();
            if (now < 10.0)
                return;
            at(40);
            if (now >= entry + seconds())
                return;
        }
    });
}

} // namespace

void Wait(const std::int16_t& intSeconds) {
    waitFor([&intSeconds] { return double(intSeconds); }, QVariant(int(intSeconds)));
}

void Wait(double intSeconds) {
    waitFor([intSeconds] { return intSeconds; }, QVariant(intSeconds));
}

} // namespace veltrano
