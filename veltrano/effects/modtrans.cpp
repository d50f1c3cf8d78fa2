#include "effects/modtrans.h"

#include "platform/classicerrors.h"
#include "platform/clock.h"
#include "platform/layeredwindow.h"
#include "platform/objectmembers.h"
#include "tracing/traced.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace veltrano {

namespace {

QWidget* required(QWidget* window) {
    if (!window)
        platform::raiseError(platform::err::objectNotSet);
    return window;
}

// A fade from opaque to transparent takes a quarter of a second, whatever its step: one
// step per pass of event handling alone ran the whole fade in a few milliseconds, too fast
// for anyone to see.
constexpr double alphaPerSecond = 255.0 / 0.25;

// Handles events until the time of day reaches deadline (seconds since midnight), sleeping
// in the event dispatcher meanwhile. At least one pass runs; a deadline already past costs
// only that pass. A time of day that starts again at midnight ends the wait.
void handleEventsUntil(const platform::Clock& clock, double deadline) {
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    double now = clock.secondsSinceMidnight();
    const double start = now;
    do {
        const double left = deadline - now;
        if (left > 0) {
            wakeUp.start(int(std::ceil(left * 1000.0)));
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        } else {
            QCoreApplication::processEvents();
        }
        now = clock.secondsSinceMidnight();
    } while (now < deadline && now >= start);
}

// A fade level as a byte, rounded to nearest with halves to even.
std::uint8_t toByte(float level) {
    const float r = std::nearbyint(level);
    if (!(r >= 0 && r <= 255))
        platform::raiseError(platform::err::overflow);
    return std::uint8_t(r);
}

} // namespace

std::int32_t isTransparent(QWidget* zForm) {
    Traced proc(u"modTrans.isTransparent");
    proc.param("zForm", "Form", zForm);
    std::int32_t flags = 0;
    proc.attempt(10, [&] { flags = platform::layeredAttributes(zForm).flags; });
    const std::int32_t result = proc.errorPending() ? -1 : flags;
    proc.finish();
    return result;
}

std::int32_t GetTrans(QWidget* zForm) {
    Traced proc(u"modTrans.GetTrans");
    proc.param("zForm", "Form", zForm);
    platform::LayeredAttributes attributes;
    std::int32_t result = -1;
    proc.attempt(10, [&] { attributes = platform::layeredAttributes(zForm); });
    proc.attempt(20, [&] {
        if (attributes.flags == platform::LWA_ALPHA)
            result = attributes.alpha;
        else if (attributes.flags == platform::LWA_COLORKEY)
            result = std::int32_t(attributes.colorKey);
    });
    if (proc.errorPending())
        result = -1;
    proc.finish();
    return result;
}

bool SetTrans(QWidget* zForm, std::uint8_t vTrans) {
    Traced proc(u"modTrans.SetTrans");
    proc.param("zForm", "Form", zForm).param("vTrans", "Byte", vTrans);
    proc.attempt(10, [&] { platform::setLayeredAlpha(zForm, vTrans); });
    const bool result = !proc.errorPending();
    proc.finish();
    return result;
}

bool FadeOut(QWidget* zForm, std::uint8_t Final, float vStep) {
    Traced proc(u"modTrans.FadeOut");
    proc.param("zForm", "Form", zForm)
        .param("Final", "Byte", Final)
        .param("vStep", "Single", vStep);
    // Events are processed while the window fades; it may be closed and deleted meanwhile.
    const QPointer<QWidget> form(zForm);
    std::int32_t current = 0;
    bool disabled = false;

    proc.attempt(10, [&] {
        if (isTransparent(form) != platform::LWA_ALPHA)
            SetTrans(form, 255);
    });
    proc.attempt(20, [&] {
        current = GetTrans(form);
        if (current == -1) {
            SetTrans(form, 255);
            current = 255;
        }
    });
    if (current < Final) {
        proc.finish();
        return false;
    }
    proc.attempt(30, [&] {
        if (!required(form)->isVisible())
            form->show();
    });
    proc.attempt(40, [&] {
        if (required(form)->isEnabled()) {
            form->setEnabled(false);
            disabled = true;
        }
    });
    proc.attempt(50, [&] {
        // Each step has its deadline from the start, so a late pass does not slow the rest.
        const platform::Clock& clock = platform::Clock::current();
        const double start = clock.secondsSinceMidnight();
        float level = float(current);
        while (level > float(Final)) {
            const float next = level - vStep;
            handleEventsUntil(clock, start + (float(current) - next) / alphaPerSecond);
            // A step that does not lower the level would never end the fade.
            if (!(next < level))
                platform::raiseError(platform::err::invalidProcedureCall);
            level = next < float(Final) ? float(Final) : next;
            SetTrans(form, toByte(level));
        }
    });
    proc.attempt(60, [&] {
        if (disabled)
            required(form)->setEnabled(true);
    });
    proc.attempt(70, [&] {
        if (Final == 0)
            required(form)->hide();
    });
    const bool result = !proc.errorPending();
    proc.finish();
    return result;
}

void FormDrag(QObject* TheForm) {
    Traced proc(u"modTrans.FormDrag");
    proc.param("TheForm", "Object", TheForm);
    QWidget* window = nullptr;
    proc.attempt(10, [&] {
        bool ok = false;
        const qlonglong handle = platform::getMember(TheForm, "hwnd").toLongLong(&ok);
        if (!ok)
            platform::raiseError(platform::err::typeMismatch);
        window = platform::windowFromHandle(std::int32_t(handle));
    });
    proc.attempt(20, [&] {
        // The press that starts the drag has grabbed the mouse; the window manager takes
        // over from here.
        if (window && window->windowHandle())
            window->windowHandle()->startSystemMove();
    });
    proc.finish();
}

} // namespace veltrano
