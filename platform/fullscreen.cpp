#include "platform/fullscreen.h"

#include "platform/qtxcb.h"

namespace platform {

namespace {

using xcb::atom;
using xcb::Reply;

// Asks the X server through the connection Qt already holds: two round trips, no events.
class X11FullScreenProbe final : public FullScreenProbe {
public:
    bool activeWindowIsFullScreen() const override {
        xcb_connection_t* c = xcb::qtConnection();
        if (!c)
            return false;
        if (activeAtom_ == XCB_ATOM_NONE) {
            activeAtom_ = atom(c, "_NET_ACTIVE_WINDOW");
            stateAtom_ = atom(c, "_NET_WM_STATE");
            fullScreenAtom_ = atom(c, "_NET_WM_STATE_FULLSCREEN");
        }
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        if (!screen)
            return false;
        const Reply<xcb_get_property_reply_t> active(xcb_get_property_reply(
            c, xcb_get_property(c, 0, screen->root, activeAtom_, XCB_ATOM_WINDOW, 0, 1), nullptr));
        if (!active || xcb_get_property_value_length(active.get()) < int(sizeof(xcb_window_t)))
            return false;
        const xcb_window_t window =
            *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
        if (window == XCB_WINDOW_NONE)
            return false;
        const Reply<xcb_get_property_reply_t> state(xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, stateAtom_, XCB_ATOM_ATOM, 0, 64), nullptr));
        if (!state)
            return false;
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(state.get()));
        const int count = xcb_get_property_value_length(state.get()) / int(sizeof(xcb_atom_t));
        for (int i = 0; i < count; ++i)
            if (atoms[i] == fullScreenAtom_)
                return true;
        return false;
    }

private:
    mutable xcb_atom_t activeAtom_ = XCB_ATOM_NONE;
    mutable xcb_atom_t stateAtom_ = XCB_ATOM_NONE;
    mutable xcb_atom_t fullScreenAtom_ = XCB_ATOM_NONE;
};

} // namespace

FullScreenProbe& FullScreenProbe::production() {
    static X11FullScreenProbe probe;
    return probe;
}

} // namespace platform
