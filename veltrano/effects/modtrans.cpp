#include "effects/modtrans.h"

#include "platform/classicerrors.h"
#include "platform/clock.h"
#include "platform/layeredwindow.h"
#include "platform/objectmembers.h"
#include "tracing/traced.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace veltrano {

namespace {

QWidget* required(QWidget* window) {
    if (!window)
        platform::raiseError(platform::err::objectNotSet);
    return window;
}

// A fade lowers the alpha two at a time, and from opaque to transparent takes a quarter of a
// second: one step per pass of event handling alone ran the whole fade in a few
// milliseconds, too fast for anyone to see.
constexpr int fadeStep = 2;
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

// Drags a window that no window manager moves (one shown past it) with the pointer, from the
// press that started the drag until the button is released: the window keeps the pointer's
// moves while the button is down.
class PointerDrag final : public QObject {
public:
    explicit PointerDrag(QWidget* window)
        : QObject(window), window_(window), grip_(QCursor::pos() - window->pos()) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseMove)
            window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - grip_);
        else if (event->type() == QEvent::MouseButtonRelease)
            deleteLater();
        return false;
    }

private:
    QWidget* window_;
    QPoint grip_;
};

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

bool FadeOut(QWidget* zForm) {
    Traced proc(u"modTrans.FadeOut");
    proc.param("zForm", "Form", zForm);
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
        for (int level = current; level > 0;) {
            const int next = level - fadeStep;
            handleEventsUntil(clock, start + (current - next) / alphaPerSecond);
            level = std::max(next, 0);
            SetTrans(form, std::uint8_t(level));
        }
    });
    proc.attempt(60, [&] {
        if (disabled)
            required(form)->setEnabled(true);
    });
    proc.attempt(70, [&] { required(form)->hide(); });
    const bool result = !proc.errorPending();
    proc.finish();
    return result;
}

void FormDrag(QObject* TheForm) {
    Traced proc(u"modTrans.FormDrag");
    proc.param("TheForm", "Object", TheForm);
    proc.attempt(10, [&] {
        // An object without a window fails here, before anything moves. The press that starts
        // the drag has grabbed the mouse; the window manager takes over from here, where there
        // is one for the window.
        const qlonglong handle = platform::getMember(TheForm, "hwnd").toLongLong();
        QWidget* window = platform::windowFromHandle(std::int32_t(handle));
        if (window->windowFlags().testFlag(Qt::X11BypassWindowManagerHint))
            new PointerDrag(window);
        else
            window->windowHandle()->startSystemMove();
    });
    proc.finish();
}

} // namespace veltrano
