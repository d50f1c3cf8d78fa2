#pragma once

#include <QObject>

#include <cstdint>

namespace veltrano {

class Form1;

// The main window's tray: the timer that watches for minimizing, the icon choice, the tray
// options Check1 .. Check3, the icon's events and "Restore".
class TrayHandlers : public QObject {
    Q_OBJECT

public:
    explicit TrayHandlers(Form1& form);

    // Connects the handlers to the tray object once load has created it, and configures it
    // as minimizing does: the icon stands in the tray from the start whenever a tray host
    // runs, and comes back with a restarted one, so that its menu is always within reach.
    void connectTray();

    void Timer1_Timer();
    void hsIcons_Change();
    void Text1_Change();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void cTray_Click(std::int16_t Button);
    void cTray_DblClick(std::int16_t Button);
    void cTray_MouseDown(std::int16_t Button);
    void cTray_Refreshed();
    void mRestore_Click();

private:
    // Parent window, popup menu, menu button 2, mode value 192, tooltip, show in tray.
    void applyTrayConfiguration();

    Form1& form_;
};

} // namespace veltrano
