// The main window's tray handlers and the tray object as the window drives it. There is no
// tray host offscreen, so the icon's own events are raised by hand; tray_x11_test.cpp covers
// a real one.

#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/systray.h"
#include "mainwindow/trayhandlers.h"

#include "../support/programfixture.h"

#include "platform/classiccheckbox.h"
#include "platform/messagebox.h"
#include "platform/tests/support/fakes.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTimer>

#include <tuple>

using veltrano::Form1;
using veltrano::SysTray;

namespace {

class TrayTest : public ProgramTest {
protected:
    TrayTest() { form.Timer1->stop(); } // ticks are given by hand
    SysTray& tray() { return *form.cTray; }
    void tick() { form.tray().Timer1_Timer(); }
    qsizetype traced(const QString& name) const { return traceLines().count(name); }

    Form1 form;
};

bool sameImage(const QPixmap& a, const QPixmap& b) {
    return !a.isNull() && a.toImage() == b.toImage();
}

} // namespace

TEST_F(TrayTest, ATickChoosesTheFirstIconOnce) {
    form.Form_Load();
    // Pictures that differ, whatever the image files hold.
    for (int i = 0; i < form.ilIcons.size(); ++i)
        form.ilIcons[i].fill(QColor::fromHsv(i * 60, 255, 255));
    form.hsIcons->setValue(3);
    const qsizetype changes = traced("Form1.hsIcons_Change");
    tick();
    EXPECT_EQ(form.hsIcons->value(), 1);
    EXPECT_TRUE(sameImage(form.pIcon->pixmap(), form.ilIcons[0]));
    EXPECT_TRUE(sameImage(tray().IconPicture(), form.ilIcons[0]));
    EXPECT_EQ(traced("Form1.hsIcons_Change"), changes + 1);
    tick();
    EXPECT_EQ(traced("Form1.hsIcons_Change"), changes + 1);
}

// That the window then leaves the screen for its icon and Restore brings it back is
// tray_x11_test.cpp, with a real tray host.
TEST_F(TrayTest, AMinimizedWindowConfiguresTheTrayAndEnablesRestore) {
    form.Form_Load();
    form.show();
    form.Check3->setValue(1);
    tray().setPersistentIcon(false);
    tick();
    EXPECT_EQ(tray().MinimizeMode(), 0) << "configured while the window is on the screen";
    EXPECT_FALSE(form.mRestore->isEnabled());

    form.setWindowState(Qt::WindowMinimized);
    tick();
    EXPECT_EQ(std::tuple(tray().ParentWindow(), tray().PopupMenu(), tray().MinimizeMode(),
                         tray().MenuButton(), tray().ModeValue()),
              std::tuple(&form, form.mFile, 3, 2, 192));
    EXPECT_EQ(tray().Tooltip(), "Thanks for Trying Veltrano!\r\n");
    EXPECT_TRUE(tray().ShowInTray() && tray().PersistentIcon() && form.mRestore->isEnabled());
}

TEST_F(TrayTest, TheOptionsAndTheTextDriveTheTray) {
    form.Form_Load();
    form.Check2->setValue(0);
    EXPECT_EQ(tray().MinimizeMode(), 0);
    EXPECT_TRUE(tray().ShowInTray()) << "taken from Check1 when minimizing is switched off";
    form.Check1->setValue(0);
    EXPECT_FALSE(tray().ShowInTray());
    EXPECT_EQ(tray().ParentWindow(), &form);
    form.Check2->setValue(1);
    EXPECT_EQ(tray().MinimizeMode(), 3);
    form.Check3->setValue(1);
    EXPECT_TRUE(tray().PersistentIcon());
    form.Text1->setText(QStringLiteral("Resting"));
    EXPECT_EQ(tray().Tooltip(), "Resting");
}

// The message itself, for a real restart: tray_x11_test.cpp.
TEST_F(TrayTest, ARestartedPanelUpdatesCheck1FromTheTray) {
    form.Form_Load();
    platform::MsgBoxRecorder boxes;
    ASSERT_EQ(form.Check1->Value(), 1);
    tray().setShowInTray(false);
    emit tray().Refreshed();
    EXPECT_EQ(form.Check1->Value(), 0);
    EXPECT_EQ(boxes.calls().size(), 1);
}

// A left click also brings the minimized window back, as on most Linux panels.
TEST_F(TrayTest, IconActivationsBecomeTheClassicMouseEvents) {
    form.Form_Load();
    form.show();
    form.setWindowState(Qt::WindowMinimized);
    tick(); // the window goes into the tray
    QStringList events;
    auto record = [&](const char* name) {
        return [&events, name](std::int16_t button) { events << name + QString::number(button); };
    };
    QObject::connect(&tray(), &SysTray::MouseDown, record("MouseDown"));
    QObject::connect(&tray(), &SysTray::Click, record("Click"));
    QObject::connect(&tray(), &SysTray::DblClick, record("DblClick"));
    auto* icon = tray().findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick,
                        QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Context})
        emit icon->activated(reason);
    EXPECT_EQ(events, QStringList({"MouseDown1", "Click1", "DblClick1", "MouseDown4", "Click4",
                                   "MouseDown2", "Click2"}));
    EXPECT_EQ(traceLines().filter(QStringLiteral("Form1.cTray_")).size(), events.size());
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.windowState() & Qt::WindowMinimized);
}

TEST_F(TrayTest, WithoutTheTrayObjectAMinimizedTickReportsError91) {
    ASSERT_EQ(form.cTray, nullptr);
    form.setWindowState(Qt::WindowMinimized);
    tick();
    EXPECT_EQ(handler().ErrNum(), 91);
    EXPECT_EQ(handler().ProcName(), "Form1.Timer1_Timer");
    EXPECT_EQ(handler().ErrLine(), "20");
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
}
