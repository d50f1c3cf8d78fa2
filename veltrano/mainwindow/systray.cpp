#include "mainwindow/systray.h"

#include "mainwindow/imagebutton.h"

#include "platform/trayhostwatch.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace veltrano {

SysTray::SysTray(QObject* parent)
    : QObject(parent), trayIcon_(new QSystemTrayIcon(this)),
      hostWatch_(new platform::TrayHostWatch(this)),
      icon_(svgPixmap(QStringLiteral(":/veltrano/images/logo.svg"), QSize(22, 22))) {
    trayIcon_->setIcon(QIcon(icon_));
    connect(trayIcon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { onActivated(int(reason)); });
    hostPresent_ = trayAvailable();
    hostSeen_ = hostPresent_;
    connect(hostWatch_, &platform::TrayHostWatch::mayHaveChanged, this, &SysTray::watchTrayHost);
}

SysTray::~SysTray() {
    detachFromWindow();
}

void SysTray::setIconPicture(const QPixmap& picture) {
    icon_ = picture;
    trayIcon_->setIcon(QIcon(picture));
}

void SysTray::setShowInTray(bool show) {
    if (show == showInTray_)
        return;
    showInTray_ = show;
    updateIcon();
}

void SysTray::setPersistentIcon(bool persistent) {
    persistent_ = persistent;
}

void SysTray::setParentWindow(QWidget* window) {
    if (window == parentWindow_)
        return;
    detachFromWindow();
    parentWindow_ = window;
    inTray_ = false;
    restoring_ = false;
    if (window)
        window->installEventFilter(this);
    updateIcon();
    followParentState();
}

void SysTray::detachFromWindow() {
    if (!parentWindow_)
        return;
    parentWindow_->removeEventFilter(this);
    if (QWindow* handle = parentWindow_->windowHandle())
        handle->removeEventFilter(this);
}

void SysTray::setPopupMenu(QMenu* menu) {
    if (menu == menu_)
        return;
    menu_ = menu;
    applyMenu();
}

void SysTray::setMenuButton(std::int16_t button) {
    if (button == menuButton_)
        return;
    menuButton_ = button;
    applyMenu();
}

void SysTray::setModeValue(std::int32_t value) {
    modeValue_ = value;
}

void SysTray::setMinimizeMode(std::int16_t mode) {
    if (mode == minimizeMode_)
        return;
    minimizeMode_ = mode;
    // The window may already lie minimized when the mode is switched on.
    followParentState();
}

void SysTray::setTooltip(const QString& text) {
    if (text == tooltip_)
        return;
    tooltip_ = text;
    trayIcon_->setToolTip(text);
}

void SysTray::Restore() {
    if (!parentWindow_)
        return;
    inTray_ = false;
    // Until the window is on the screen again, a report that it is minimized is the window
    // manager's word on the state before the Restore, not a new minimizing.
    const QWindow* handle = parentWindow_->windowHandle();
    restoring_ = !(handle && handle->isExposed());
    parentWindow_->showNormal();
    parentWindow_->raise();
    parentWindow_->activateWindow();
    updateIcon();
}

QWidget* SysTray::ParentWindow() const {
    return parentWindow_;
}

QMenu* SysTray::PopupMenu() const {
    return menu_;
}

bool SysTray::IconShown() const {
    return trayIcon_->isVisible();
}

bool SysTray::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool SysTray::eventFilter(QObject* watched, QEvent* event) {
    if (parentWindow_ && watched == parentWindow_->windowHandle() &&
        event->type() == QEvent::Expose) {
        const bool exposed = parentWindow_->windowHandle()->isExposed();
        if (exposed)
            restoring_ = false;
        else if (inTray_)
            withdrawWhenIconified();
    } else if (watched == parentWindow_) {
        if (event->type() == QEvent::WindowStateChange) {
            followParentState();
        } else if (event->type() == QEvent::Show && !event->spontaneous() && inTray_) {
            // Shown again by other means than Restore: it is no longer in the tray. The window
            // system's own Show (while the window manager minimises the window, before it is
            // taken off the screen) does not count.
            inTray_ = false;
            updateIcon();
        }
    }
    return QObject::eventFilter(watched, event);
}

// A window in the tray keeps its icon even when the icon is not otherwise shown: without it
// the user could not get the window back.
void SysTray::updateIcon() {
    const bool wanted = (showInTray_ || inTray_) && hostPresent_;
    if (trayIcon_->isVisible() != wanted)
        trayIcon_->setVisible(wanted);
}

void SysTray::applyMenu() {
    trayIcon_->setContextMenu(menuButton_ == 2 ? menu_.data() : nullptr);
}

void SysTray::onActivated(int reason) {
    switch (QSystemTrayIcon::ActivationReason(reason)) {
    case QSystemTrayIcon::Trigger:
        emit MouseDown(1);
        emit Click(1);
        if (menuButton_ == 1 && menu_)
            menu_->popup(QCursor::pos());
        break;
    case QSystemTrayIcon::DoubleClick:
        emit DblClick(1);
        break;
    case QSystemTrayIcon::MiddleClick:
        emit MouseDown(4);
        emit Click(4);
        break;
    case QSystemTrayIcon::Context:
        emit MouseDown(2);
        emit Click(2);
        break;
    default:
        break;
    }
}

void SysTray::followParentState() {
    QWidget* window = parentWindow_;
    if (!window || restoring_ || minimizeMode_ != 3 || !hostPresent_ || !window->isVisible() ||
        !(window->windowState() & Qt::WindowMinimized))
        return;
    inTray_ = true;
    updateIcon();
    if (QWindow* handle = window->windowHandle())
        handle->installEventFilter(this); // to learn when it has left the screen
    // Hiding from inside the state change would race the window manager's own iconifying.
    QTimer::singleShot(0, this, &SysTray::withdrawWhenIconified);
}

// Withdrawn while an X11 window manager is still iconifying it, the window gets that
// manager's late reports of the old state after a Restore, which would send it straight
// back. So it leaves once the manager has taken it off the screen (its expose handler calls
// again); where no window manager iconifies, at once.
void SysTray::withdrawWhenIconified() {
    QWidget* window = parentWindow_;
    if (!inTray_ || !window || !window->isVisible() ||
        !(window->windowState() & Qt::WindowMinimized))
        return;
    const QWindow* handle = window->windowHandle();
    if (handle && handle->isExposed() && QGuiApplication::platformName() == u"xcb")
        return;
    window->hide();
}

void SysTray::watchTrayHost() {
    const bool available = trayAvailable();
    if (available == hostPresent_)
        return;
    hostPresent_ = available;
    if (!available) {
        // The icon went with the host; only a persistent one comes back. A window left in
        // the tray returns to the task bar so that it stays within the user's reach.
        if (!persistent_)
            showInTray_ = false;
        if (inTray_ && parentWindow_) {
            inTray_ = false;
            parentWindow_->showMinimized();
        }
        updateIcon();
        return;
    }
    const bool returned = hostSeen_;
    hostSeen_ = true;
    // The icon was hidden when the host went, so showing it now docks it with the new host.
    updateIcon();
    followParentState();
    if (returned)
        emit Refreshed();
}

} // namespace veltrano
