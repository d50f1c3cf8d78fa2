#pragma once

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <cstdint>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace platform {
class TrayHostWatch;
}

namespace veltrano {

// The icon in the desktop's notification area, and the main window's way into it: while the
// minimize mode is 3, minimizing the parent window takes it off the screen and leaves the
// icon, whose popup menu and Restore bring it back. Creating it does not fail merely because
// no tray host runs; there is then no icon and no minimizing into the tray.
class SysTray : public QObject {
    Q_OBJECT

public:
    explicit SysTray(QObject* parent = nullptr);
    ~SysTray() override;

    QPixmap IconPicture() const { return icon_; }
    void setIconPicture(const QPixmap& picture);
    bool ShowInTray() const { return showInTray_; }
    void setShowInTray(bool show);
    bool PersistentIcon() const { return persistent_; }
    void setPersistentIcon(bool persistent);
    void setParentWindow(QWidget* window);
    void setPopupMenu(QMenu* menu);
    // The mouse button that opens the popup menu: 1 left, 2 right.
    void setMenuButton(std::int16_t button);
    // Kept for the program's configuration; it does not change how the icon behaves.
    void setModeValue(std::int32_t value);
    // 3: minimizing the parent window moves it into the tray; 0: off.
    void setMinimizeMode(std::int16_t mode);
    void setTooltip(const QString& text);
    // Brings the parent window back from the tray.
    void Restore();

    // What the program configured, read back.
    QWidget* ParentWindow() const;
    QMenu* PopupMenu() const;
    std::int16_t MenuButton() const { return menuButton_; }
    std::int32_t ModeValue() const { return modeValue_; }
    std::int16_t MinimizeMode() const { return minimizeMode_; }
    QString Tooltip() const { return tooltip_; }
    // Whether the icon stands in the tray now.
    bool IconShown() const;

    // Whether a tray host takes icons right now.
    static bool trayAvailable();

signals:
    void Click(std::int16_t Button);
    void DblClick(std::int16_t Button);
    void MouseDown(std::int16_t Button);
    // A tray host appeared again after it had gone (the desktop's panel was restarted).
    void Refreshed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateIcon();
    void detachFromWindow();
    void watchTrayHost();
    void applyMenu();
    void onActivated(int reason);
    // Takes the parent window off the screen when it is minimized and the mode asks for it.
    void followParentState();
    void withdrawWhenIconified();

    QSystemTrayIcon* trayIcon_;
    platform::TrayHostWatch* hostWatch_;
    QPixmap icon_;
    QPointer<QWidget> parentWindow_;
    QPointer<QMenu> menu_;
    QString tooltip_;
    bool showInTray_ = false;
    bool persistent_ = false;
    bool hostSeen_ = false;
    bool hostPresent_ = false;
    bool inTray_ = false;    // the parent window was taken off the screen by us
    bool restoring_ = false; // Restore asked for the window; it is not on the screen yet
    std::int16_t menuButton_ = 2;
    std::int32_t modeValue_ = 0;
    std::int16_t minimizeMode_ = 0;
};

} // namespace veltrano
