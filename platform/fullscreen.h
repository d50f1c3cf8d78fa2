#pragma once

namespace platform {

// Whether the window the user works in fills the screen: a video, a game, a slide show in
// front of an audience. On X11 (and XWayland) that is _NET_WM_STATE_FULLSCREEN in the state
// of the window the root's _NET_ACTIVE_WINDOW names; without an X display it is never so.
class FullScreenProbe {
public:
    virtual ~FullScreenProbe() = default;
    virtual bool activeWindowIsFullScreen() const = 0;

    // The display's answer, unless a test has put another probe in its place.
    static const FullScreenProbe& current();
    // The display's answer, whatever the override: for probes that wrap it.
    static const FullScreenProbe& display();
    class Override;
};

// Puts probe in place of the current one until the guard is destroyed. Guards nest.
class FullScreenProbe::Override {
public:
    explicit Override(const FullScreenProbe& probe);
    ~Override();
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

private:
    const FullScreenProbe* previous_;
};

} // namespace platform
