#include "platform/windowrole.h"

#include "platform/classicerrors.h"
#include "platform/qtxcb.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <initializer_list>

namespace platform {

namespace {

using xcb::atom;

void setAtoms(xcb_connection_t* c, xcb_window_t window, const char* property,
              std::initializer_list<xcb_atom_t> atoms) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(c, property), XCB_ATOM_ATOM, 32,
                        std::uint32_t(atoms.size()), atoms.begin());
}

// Writes the hints into the native window while it is still unmapped. The state is replaced
// as a whole: what a withdrawn window held last time means nothing now, and Qt adds the states
// of its window flags (above, for one) to what it finds there when it maps the window.
class NotificationHints final : public QObject {
public:
    explicit NotificationHints(QWidget* window) : QObject(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Qt sends the widget its show event before it maps the native window; a spontaneous
        // one comes from the window system, for a window already mapped.
        if (event->type() != QEvent::Show || event->spontaneous())
            return false;
        const QWindow* native = static_cast<QWidget*>(watched)->windowHandle();
        xcb_connection_t* c = xcb::qtConnection();
        if (!native || !c)
            return false;
        const auto window = xcb_window_t(native->winId());
        setAtoms(c, window, "_NET_WM_WINDOW_TYPE", {atom(c, "_NET_WM_WINDOW_TYPE_NOTIFICATION")});
        setAtoms(c, window, "_NET_WM_STATE",
                 {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), atom(c, "_NET_WM_STATE_SKIP_PAGER")});
        xcb_flush(c);
        return false;
    }
};

} // namespace

void showAsNotification(QWidget* window) {
    if (!window)
        raiseError(err::objectNotSet);
    new NotificationHints(window);
}

} // namespace platform
