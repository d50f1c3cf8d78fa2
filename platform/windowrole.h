#pragma once

class QWidget;

namespace platform {

// Asks the window manager to treat a top-level window as a notification: no entry in the
// task bar or the pager (_NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER) and the
// notification window type (_NET_WM_WINDOW_TYPE_NOTIFICATION), which EWMH-compliant managers
// leave undecorated and unfocused. Window managers read both when they map a window, and drop
// its state when it is withdrawn; a change of window flags gives the widget a new native
// window besides. So the hints are written again each time the window is about to be shown,
// from its next show on, for as long as the widget lives. Without an X display, nothing.
// Error 91 for a null window.
void showAsNotification(QWidget* window);

} // namespace platform
