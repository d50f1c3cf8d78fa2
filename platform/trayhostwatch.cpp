#include "platform/trayhostwatch.h"

#include "platform/xcbreply.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <string>

namespace platform {

namespace {
constexpr int pollWithEventsMs = 10000;
constexpr int pollWithoutEventsMs = 1000;
// After an event: the first of the looks that follow it, each then twice as late.
constexpr int firstLookAfterEventMs = 50;
constexpr int looksAfterEvent = 6;
} // namespace

// A connection of its own, so that the events it selects are its own too: Qt's connection
// keeps the event masks Qt chose.
class TrayHostWatch::X11Connection {
public:
    // None when there is no X display (Wayland without XWayland, offscreen).
    static std::unique_ptr<X11Connection> open() {
        if (QGuiApplication::platformName() != u"xcb")
            return nullptr;
        int screenNumber = 0;
        xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            return nullptr;
        }
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
            xcb_screen_next(&screens);
        if (screens.rem == 0) {
            xcb_disconnect(c);
            return nullptr;
        }
        const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber);
        return std::unique_ptr<X11Connection>(new X11Connection(
            c, screens.data->root, xcb::atom(c, selection.c_str()), xcb::atom(c, "MANAGER")));
    }

    ~X11Connection() { xcb_disconnect(c_); }
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    int fileDescriptor() const { return xcb_get_file_descriptor(c_); }
    bool broken() const { return xcb_connection_has_error(c_) != 0; }

    // Handles every event that has arrived, also those read while waiting for a reply. True
    // when the host may have changed.
    bool handleEvents() {
        bool changed = false;
        for (;;) {
            bool ownerChanged = false;
            while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
                ownerChanged = ownerChanged || isOwnerChange(event);
                std::free(event);
            }
            if (!ownerChanged)
                return changed;
            changed = true;
            watchOwner();
        }
    }

private:
    X11Connection(xcb_connection_t* c, xcb_window_t root, xcb_atom_t selection, xcb_atom_t manager)
        : c_(c), selection_(selection), manager_(manager) {
        // New owners of the selection announce themselves to the root window with a MANAGER
        // message, sent to those who listen for structure changes of the root.
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root, XCB_CW_EVENT_MASK, &mask);
        watchOwner();
    }

    bool isOwnerChange(const xcb_generic_event_t* event) const {
        switch (event->response_type & 0x7f) {
        case XCB_CLIENT_MESSAGE: {
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            return message->type == manager_ && message->format == 32 &&
                   message->data.data32[1] == selection_;
        }
        case XCB_DESTROY_NOTIFY:
            return owner_ != XCB_WINDOW_NONE &&
                   reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == owner_;
        default: // among them the error of a window that went before it was watched
            return false;
        }
    }

    // Listens for the end of the selection's owner. One that ends before it is listened to
    // is no longer the owner when asked again.
    void watchOwner() {
        for (;;) {
            const xcb::Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
                c_, xcb_get_selection_owner(c_, selection_), nullptr));
            const xcb_window_t owner = reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
            if (owner == owner_ && (owner == XCB_WINDOW_NONE || watched_))
                return;
            owner_ = owner;
            watched_ = false;
            if (owner == XCB_WINDOW_NONE)
                return;
            const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(c_, owner, XCB_CW_EVENT_MASK, &mask);
            watched_ = true;
        }
    }

    xcb_connection_t* c_;
    xcb_atom_t selection_;
    xcb_atom_t manager_;
    xcb_window_t owner_ = XCB_WINDOW_NONE;
    bool watched_ = false;
};

TrayHostWatch::TrayHostWatch(QObject* parent)
    : QObject(parent), x11_(X11Connection::open()), poll_(new QTimer(this)),
      catchUp_(new QTimer(this)) {
    connect(poll_, &QTimer::timeout, this, &TrayHostWatch::mayHaveChanged);
    catchUp_->setSingleShot(true);
    connect(catchUp_, &QTimer::timeout, this, [this] {
        emit mayHaveChanged();
        if (--looksLeft_ > 0)
            catchUp_->start(catchUp_->interval() * 2);
    });
    if (x11_) {
        x11Readable_ = new QSocketNotifier(x11_->fileDescriptor(), QSocketNotifier::Read, this);
        connect(x11Readable_, &QSocketNotifier::activated, this, &TrayHostWatch::readX11Events);
        // What arrived while the owner was first asked for.
        x11_->handleEvents();
    }
    poll_->start(x11_ ? pollWithEventsMs : pollWithoutEventsMs);
}

TrayHostWatch::~TrayHostWatch() {
    closeX11();
}

void TrayHostWatch::readX11Events() {
    const bool changed = x11_->handleEvents();
    if (x11_->broken()) { // the display has gone: looking is all that is left
        closeX11();
        poll_->start(pollWithoutEventsMs);
    }
    if (!changed)
        return;
    emit mayHaveChanged();
    // Qt learns of the change on its own connection, maybe a moment after we do, and answers
    // from what it knew until then: look again a few times while it catches up.
    looksLeft_ = looksAfterEvent;
    catchUp_->start(firstLookAfterEventMs);
}

void TrayHostWatch::closeX11() {
    if (x11Readable_) { // it may be what called
        x11Readable_->setEnabled(false);
        x11Readable_->deleteLater();
        x11Readable_ = nullptr;
    }
    x11_.reset();
}

} // namespace platform
