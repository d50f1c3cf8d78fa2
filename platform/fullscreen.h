#pragma once

#include "platform/service.h"

namespace platform {

// Whether the window the user works in fills the screen: a video, a game, a slide show in
// front of an audience. On X11 (and XWayland) that is _NET_WM_STATE_FULLSCREEN in the state
// of the window the root's _NET_ACTIVE_WINDOW names; without an X display it is never so.
// Each module has its own (service.h).
class FullScreenProbe : public Service<FullScreenProbe> {
public:
    virtual ~FullScreenProbe() = default;
    virtual bool activeWindowIsFullScreen() const = 0;

    // The display's answer, whatever the override: also for probes that wrap it.
    static FullScreenProbe& production();
};

} // namespace platform
