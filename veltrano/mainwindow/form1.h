#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTimer;

namespace platform {
class ClassicCheckBox;
}

namespace veltrano {

class ImageButton;
class ModuleSelection;
class PresentationControl;
class SysTray;
class TrayHandlers;
class TrayMenu;
class WebLinks;

// The main window: the only window the user works with. It owns every control; the
// handlers live in one class per concern (module choice, presentation control, tray, web
// links), which keep the names the program has always traced ("Form1.Image2_Click").
class Form1 : public QWidget {
    Q_OBJECT

public:
    Form1();
    ~Form1() override;

    // Module boxes Check4 .. Check25 and the start-up box Check26, by their number.
    platform::ClassicCheckBox* Check(int number) const;

    // Controls, named as the program has always named them.
    platform::ClassicCheckBox* Check1 = nullptr; // "Show In tray?"
    platform::ClassicCheckBox* Check2 = nullptr; // "Minimize to tray"
    platform::ClassicCheckBox* Check3 = nullptr; // "Persistent Icon"
    QProgressBar* ProgressBar1 = nullptr;
    QScrollBar* hsIcons = nullptr;
    QList<QPixmap> ilIcons; // images numbered from 1
    ImageButton* pIcon = nullptr;
    QLineEdit* Text1 = nullptr;
    QTimer* Timer1 = nullptr;
    QPushButton* cmdStart = nullptr;
    ImageButton* Image1 = nullptr;  // update
    ImageButton* Image2 = nullptr;  // start
    ImageButton* Image3 = nullptr;  // stop
    ImageButton* Image4 = nullptr;  // contact
    ImageButton* Image5 = nullptr;  // open the start-up panel
    ImageButton* Image6 = nullptr;  // open or close the module panel
    ImageButton* Image7 = nullptr;  // increase frequency
    ImageButton* Image8 = nullptr;  // decrease frequency
    ImageButton* Image9 = nullptr;  // picture shown while both panels are closed
    ImageButton* Image10 = nullptr; // decoration
    ImageButton* Image11 = nullptr; // picture behind the open module panel
    ImageButton* Image12 = nullptr; // close the start-up panel
    ImageButton* Image13 = nullptr; // running look
    ImageButton* Image14 = nullptr; // stopped look
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QFrame* Line3 = nullptr;
    QMenu* mFile = nullptr;
    QAction* mRestore = nullptr;
    QAction* mSpacer = nullptr;
    QAction* mContact = nullptr;
    QAction* mVisit = nullptr;

    // The tray-icon object, created at load and released at unload.
    std::unique_ptr<SysTray> cTray;

    void Form_Load();
    void Form_Unload(std::int16_t& Cancel);
    void Form_Terminate();
    // Another start of the program, which ends at once, asked for this window: it is shown,
    // out of the tray or the task bar, raised and given the focus.
    void Instance_Activate();

    ModuleSelection& modules() const { return *modules_; }
    PresentationControl& presentation() const { return *presentation_; }
    TrayHandlers& tray() const { return *tray_; }
    TrayMenu& trayMenu() const { return *trayMenu_; }
    WebLinks& links() const { return *links_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // A right click anywhere on the window opens the tray icon's menu, so that its choices
    // are within reach without a tray.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createControls();

    std::array<platform::ClassicCheckBox*, 23> boxes_{}; // Check4 .. Check26
    std::unique_ptr<ModuleSelection> modules_;
    std::unique_ptr<PresentationControl> presentation_;
    std::unique_ptr<TrayHandlers> tray_;
    std::unique_ptr<TrayMenu> trayMenu_;
    std::unique_ptr<WebLinks> links_;
};

} // namespace veltrano
