#include "platform/trayhostwatch.h"

#include "platform/qtxcb.h"

#include <QCoreApplication>
#include <QTimer>

#include <string>

namespace platform {

namespace {

constexpr int pollWithEventsMs = 10000;
constexpr int pollWithoutEventsMs = 1000;

void listenForStructureChanges(xcb_connection_t* c, xcb_window_t window, std::uint32_t mask) {
    mask |= XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
}

} // namespace

TrayHostWatch::TrayHostWatch(QObject* parent) : QObject(parent), poll_(new QTimer(this)) {
    connect(poll_, &QTimer::timeout, this, &TrayHostWatch::mayHaveChanged);
    x11_ = watchX11();
    poll_->start(x11_ ? pollWithEventsMs : pollWithoutEventsMs);
}

TrayHostWatch::~TrayHostWatch() {
    if (x11_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool TrayHostWatch::watchX11() {
    xcb_connection_t* c = xcb::qtConnection();
    if (!c)
        return false;
    // Qt's default screen, as Qt's own tray icon uses it.
    int screenNumber = 0;
    const xcb_setup_t* setup = xcb_get_setup(c);
    const QByteArray display = qgetenv("DISPLAY");
    if (const qsizetype dot = display.lastIndexOf('.'); dot > display.lastIndexOf(':'))
        screenNumber = display.mid(dot + 1).toInt();
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return false;
    const xcb_window_t rootWindow = screens.data->root;
    selection_ = xcb::atom(c, ("_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber)).c_str());
    manager_ = xcb::atom(c, "MANAGER");
    if (selection_ == XCB_ATOM_NONE || manager_ == XCB_ATOM_NONE)
        return false;
    // New owners announce themselves to the root window, to those who listen for its
    // structure changes. Qt listens already; whatever else it chose is kept.
    const xcb::Reply<xcb_get_window_attributes_reply_t> root(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, rootWindow), nullptr));
    if (!root)
        return false;
    if (!(root->your_event_mask & XCB_EVENT_MASK_STRUCTURE_NOTIFY))
        listenForStructureChanges(c, rootWindow, root->your_event_mask);
    QCoreApplication::instance()->installNativeEventFilter(this);
    watchOwner();
    return true;
}

// Listens for the end of the selection's owner. One that ends before it is listened to is
// no longer the owner when asked again.
void TrayHostWatch::watchOwner() {
    xcb_connection_t* c = xcb::qtConnection();
    if (!c)
        return;
    for (;;) {
        const xcb::Reply<xcb_get_selection_owner_reply_t> reply(
            xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection_), nullptr));
        const xcb_window_t owner = reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
        if (owner == owner_)
            return;
        owner_ = owner;
        if (owner == XCB_WINDOW_NONE)
            return;
        // Nothing else of a host's window is ours to listen to.
        listenForStructureChanges(c, owner, 0);
    }
}

bool TrayHostWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    bool changed = false;
    switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
        const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(event);
        changed = m->type == manager_ && m->format == 32 && m->data.data32[1] == selection_;
        break;
    }
    case XCB_DESTROY_NOTIFY:
        changed = owner_ != XCB_WINDOW_NONE &&
                  reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == owner_;
        break;
    default:
        break;
    }
    if (changed) {
        watchOwner();
        // Qt learns of the change from this same event once the filters have seen it: the
        // tray asks once Qt has.
        QMetaObject::invokeMethod(this, &TrayHostWatch::mayHaveChanged, Qt::QueuedConnection);
    }
    return false;
}

} // namespace platform
