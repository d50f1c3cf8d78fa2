#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

class QTimer;

namespace platform {

// Tells when the desktop's notification area may have come or gone, so the tray can look
// again (QSystemTrayIcon::isSystemTrayAvailable) without looking all the time. On X11 a host
// owns the screen's _NET_SYSTEM_TRAY_Sn selection: a new one announces itself to the root
// window and one that ends destroys its window. Both arrive as events on the connection Qt
// already reads, so nothing is polled and nothing is added to what each pass of the event
// loop waits on. Hosts that announce themselves some other way (D-Bus) are still looked for
// every ten seconds; without an X display, every second.
// It says when to look, not what is there: the tray asks Qt, whose answer decides how the
// icon behaves.
class TrayHostWatch : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit TrayHostWatch(QObject* parent = nullptr);
    ~TrayHostWatch() override;

signals:
    void mayHaveChanged();

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool watchX11();
    void watchOwner();

    QTimer* poll_;
    bool x11_ = false;
    std::uint32_t selection_ = 0;
    std::uint32_t manager_ = 0;
    std::uint32_t owner_ = 0;
};

} // namespace platform
