#pragma once

#include "presentation/options.h"

#include <QObject>

#include <cstdint>

class QAction;
class QActionGroup;
class QMenu;

namespace veltrano {

class Form1;
class ImportHandler;

// What the icon's popup menu offers beyond Restore and the links: Start or Stop, how long
// each entry shows, the set of meanings, the order of the entries, the full-screen pause,
// editing the chosen module, importing words, and Quit. Added after the menu's own items, which
// keep their order.
class TrayMenu : public QObject {
    Q_OBJECT

public:
    explicit TrayMenu(Form1& form);

    QAction* mStart = nullptr;    // "Start" or "Stop", as the main window's button
    QMenu* mShowFor = nullptr;    // "Show Each Entry For"
    QMenu* mMeaningsIn = nullptr; // "Meanings In"
    QMenu* mOrder = nullptr;      // "Order"
    QAction* mPauseFullScreen = nullptr;
    QAction* mEditWords = nullptr;
    QAction* mImport = nullptr; // "Import Words…"
    QAction* mQuit = nullptr;

    // The menu opens: it shows the saved choices, whatever changed them.
    void mFile_Click();
    void mStart_Click();
    void mShowFor_Click(double seconds);
    void mMeaningsIn_Click(const QString& code);
    void mOrder_Click(Options::Order order);
    void mPauseFullScreen_Click();
    void mEditWords_Click();
    void mQuit_Click();

private:
    void showSavedChoices();
    void showRunningLook(bool running);

    Form1& form_;
    QActionGroup* showForGroup_ = nullptr;
    QActionGroup* meaningsGroup_ = nullptr;
    QActionGroup* orderGroup_ = nullptr;
    ImportHandler* importer_ = nullptr;
};

} // namespace veltrano
