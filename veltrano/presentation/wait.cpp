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

// One pass of event handling that sleeps in the event dispatcher until an event comes or
// at most maxWait seconds pass, so an idle wait costs almost no processor time.
void handleEventsFor(QTimer& wakeUp, double maxWait) {
    const int ms = int(std::ceil(std::clamp(maxWait, 0.0, 0.010) * 1000.0));
    wakeUp.start(ms);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void waitFor(const std::function<double()>& seconds, const QVariant& recorded) {
    Traced proc("modSubliminal.Wait");
    proc.param("intSeconds", "Integer", recorded);
    proc.run([&](Traced::Line& at) {
        const platform::Clock& clock = platform::Clock::current();
        at(10);
        const double entry = clock.secondsSinceMidnight();
        QTimer wakeUp;
        wakeUp.setSingleShot(true);
        wakeUp.setTimerType(Qt::PreciseTimer);
        for (;;) {
            at(20);
            handleEventsFor(wakeUp, entry + seconds() - clock.secondsSinceMidnight());
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
