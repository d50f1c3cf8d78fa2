#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;
class QTimer;

namespace platform {

// Tells when the desktop's notification area may have come or gone, so the tray can look
// again (QSystemTrayIcon::isSystemTrayAvailable) without looking all the time. On X11 a host
// owns the screen's _NET_SYSTEM_TRAY_Sn selection: a new one announces itself to the root
// window and one that ends destroys its window, and both reach a connection of our own as
// events, at once and without a wake-up in between. Hosts that announce themselves some
// other way (D-Bus) are still looked for every ten seconds; without an X display, every
// second.
// It says when to look, not what is there: the tray asks Qt, whose answer decides how the
// icon behaves.
class TrayHostWatch : public QObject {
    Q_OBJECT

public:
    explicit TrayHostWatch(QObject* parent = nullptr);
    ~TrayHostWatch() override;

signals:
    void mayHaveChanged();

private:
    class X11Connection;

    void readX11Events();
    void closeX11();

    std::unique_ptr<X11Connection> x11_;
    QSocketNotifier* x11Readable_ = nullptr;
    QTimer* poll_;
    QTimer* catchUp_;
    int looksLeft_ = 0;
};

} // namespace platform
