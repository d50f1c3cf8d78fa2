// The tray as the main window drives it, and the icon's popup menu with the web links it
// shares with the window. There is no tray host offscreen: the icon's events are raised and
// the menu's actions triggered by hand. With a real host: x11/program_x11_test.sh.

#include "links/website.h"
#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/presentationcontrol.h"
#include "mainwindow/systray.h"
#include "mainwindow/trayhandlers.h"
#include "mainwindow/traymenu.h"
#include "presentation/options.h"
#include "tracing/addresses.h"

#include "presentation/tests/support/programfixture.h"

#include "platform/classiccheckbox.h"
#include "platform/tests/support/fakes.h"
#include "platform/tests/support/golden.h"
#include "platform/tests/support/settings.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QtCore/qtestsupport_core.h>
#include <QTimer>

#include <tuple>

using veltrano::Form1;
using veltrano::Options;
using veltrano::Presentation;
using veltrano::SysTray;

namespace {

const QString program = QStringLiteral("Veltrano Rudoz Arirera");

class TrayTest : public ProgramTest {
protected:
    TrayTest() {
        form.Timer1->stop(); // ticks are given by hand
        form.Form_Load();
    }
    SysTray& tray() { return *form.cTray; }
    void tick() { form.tray().Timer1_Timer(); }
    veltrano::TrayMenu& menu() { return form.trayMenu(); }
    // The menu as it reads, one line an item: a submenu's items follow it, indented; a checked
    // item ends in " *", a disabled one in " (off)".
    static QByteArray menuText(const QMenu* menu, const QByteArray& indent = {}) {
        QByteArray text;
        for (const QAction* action : menu->actions()) {
            text += indent + (action->isSeparator() ? "-" : action->text().toUtf8()) +
                    (action->isChecked() ? " *" : "") + (action->isEnabled() ? "" : " (off)") +
                    '\n';
            if (action->menu())
                text += menuText(action->menu(), indent + "  ");
        }
        return text;
    }

    Form1 form;
};

} // namespace

TEST_F(TrayTest, ATickChoosesTheFirstIconOnce) {
    for (int i = 0; i < form.ilIcons.size(); ++i) // pictures that differ, whatever the files hold
        form.ilIcons[i].fill(QColor::fromHsv(i * 60, 255, 255));
    form.hsIcons->setValue(3);
    const qsizetype changes = traceLines().count("Form1.hsIcons_Change");
    tick();
    tick();
    EXPECT_EQ(form.pIcon->pixmap().toImage(), form.ilIcons[0].toImage());
    EXPECT_EQ(tray().IconPicture().toImage(), form.ilIcons[0].toImage());
    EXPECT_EQ(traceLines().count("Form1.hsIcons_Change"), changes + 1);
}

// The boxes and the text set the tray's options; a restarted panel sets Check1 back from it.
TEST_F(TrayTest, TheOptionsAndTheTextDriveTheTray) {
    form.Check2->setValue(0);
    EXPECT_EQ(std::tuple(tray().MinimizeMode(), tray().ShowInTray()), std::tuple(0, true));
    form.Check1->setValue(0);
    EXPECT_EQ(std::tuple(tray().ShowInTray(), tray().ParentWindow()), std::tuple(false, &form));
    form.Check2->setValue(1);
    form.Check3->setValue(1);
    form.Text1->setText(QStringLiteral("Resting"));
    EXPECT_EQ(std::tuple(tray().MinimizeMode(), tray().PersistentIcon(), tray().Tooltip()),
              std::tuple(3, true, QString("Resting")));

    platform::MsgBoxRecorder boxes;
    form.Check1->setValue(1);
    tray().setShowInTray(false);
    emit tray().Refreshed();
    EXPECT_EQ(form.Check1->Value(), 0);
}

// (That a left click brings the window back from the tray: x11/program_x11_test.sh.)
TEST_F(TrayTest, IconActivationsBecomeTheClassicMouseEvents) {
    QStringList events;
    for (auto [signal, name] :
         {std::pair(&SysTray::MouseDown, "MouseDown"), std::pair(&SysTray::Click, "Click"),
          std::pair(&SysTray::DblClick, "DblClick")})
        QObject::connect(&tray(), signal, [&events, name](std::int16_t button) {
            events << name + QString::number(button);
        });
    auto* icon = tray().findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick,
                        QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Context})
        emit icon->activated(reason);
    EXPECT_EQ(events, QStringList({"MouseDown1", "Click1", "DblClick1", "MouseDown4", "Click4",
                                   "MouseDown2", "Click2"}));
    EXPECT_EQ(traceLines().filter("Form1.cTray_").size(), events.size());
}

// As after the window's unload.
TEST_F(TrayTest, WithoutTheTrayObjectAMinimizedTickReportsError91) {
    form.cTray.reset();
    form.setWindowState(Qt::WindowMinimized);
    tick();
    EXPECT_EQ(std::tuple(handler().ErrNum(), handler().ProcName(), handler().ErrLine()),
              std::tuple(91, QString("Form1.Timer1_Timer"), QString("20")));
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
}

// The item does what the button the window shows would do, and is named after it.
TEST_F(TrayTest, StartAndStopFollowTheWindowsButton) {
    platform::MsgBoxRecorder boxes;
    Presentation::SelectedModule = 0;
    menu().mStart->trigger(); // Start, refused without a module
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.calls().isEmpty(); }));
    form.presentation().showRunningLook();
    EXPECT_EQ(menu().mStart->text(), "Stop");
    menu().mStart->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Image2->isHidden(); }));
    EXPECT_EQ(menu().mStart->text(), "Start");
    EXPECT_EQ(boxes.texts(), QStringList({program + ": You have to select a module"}));
}

// The menu keeps the classic items and adds its own after them. Its four choices land in the
// program's settings file and are checked again after a restart; values that are not offered
// read as the defaults.
TEST_F(TrayTest, TheMenusChoicesAreSavedAndSurviveARestart) {
    EXPECT_GOLDEN(menuText(form.mFile), "traymenu.txt");
    menu().mShowFor->actions()[1]->trigger();
    menu().mMeaningsIn->actions()[1]->trigger();
    menu().mOrder->actions()[1]->trigger();
    menu().mPauseFullScreen->trigger();
    EXPECT_GOLDEN(fileBytes(testsettings::path(program)), "trayoptions.ini");
    Form1 again;
    again.Timer1->stop();
    again.Form_Load();
    EXPECT_GOLDEN(menuText(again.mFile), "traymenu-chosen.txt");

    writeFile(testsettings::path(program),
              "[Options]\nShow%20Each%20Entry%20For=0.5\n"
              "Meanings%20In=Deutsch\nOrder=shuffled\nPause%20While%20Full%20Screen=no\n");
    emit form.mFile->aboutToShow();
    EXPECT_GOLDEN(menuText(form.mFile), "traymenu.txt");
}

// The learner edits a copy in their own folder; the program's module stays as shipped and a
// second edit keeps what the learner wrote.
TEST_F(TrayTest, EditWordsOpensTheLearnersOwnCopy) {
    platform::ShellRecorder shell;
    platform::MsgBoxRecorder boxes;
    writeModule(7, "shipped\n");
    writeModule(7, "geliefert\n", QStringLiteral("data-de"));
    Options::setMeaningsIn(QStringLiteral("de"));
    Presentation::SelectedModule = 7;
    menu().mEditWords->trigger();
    const QString own = veltrano::ModuleFiles::userPath(7);
    EXPECT_EQ(fileBytes(own), "geliefert\n");
    writeFile(own, "geliefert\nneu - new\n");
    menu().mEditWords->trigger();
    EXPECT_EQ(fileBytes(own), "geliefert\nneu - new\n");
    EXPECT_EQ(fileBytes(temp.filePath(QStringLiteral("data-de/7.txt"))), "geliefert\n");

    // A module that was never shipped starts empty; no module chosen is refused.
    Presentation::SelectedModule = 12;
    menu().mEditWords->trigger();
    EXPECT_EQ(fileBytes(veltrano::ModuleFiles::userPath(12)), "");
    Presentation::SelectedModule = 0;
    menu().mEditWords->trigger();
    EXPECT_EQ(boxes.texts(), QStringList({program + ": You have to select a module"}));
    const QUrl ownUrl = QUrl::fromLocalFile(own);
    EXPECT_EQ(
        shell.opened(),
        QList<QUrl>({ownUrl, ownUrl, QUrl::fromLocalFile(veltrano::ModuleFiles::userPath(12))}));
    EXPECT_EQ(handler().ErrNum(), 0);
}

TEST_F(TrayTest, QuitEndsTheProgram) {
    platform::ProgramEndRecorder ends;
    menu().mQuit->trigger();
    EXPECT_EQ(ends.count(), 1);
}

// Each answer of the desktop to an address, and the boxes (buttons, title and text) the user
// is shown for it.
TEST_F(TrayTest, OpenWebsiteTellsWhatWentWrong) {
    QByteArray told;
    for (const int answer : {0, 42, 31, 2, 3, 5}) {
        platform::ShellRecorder shell([&](const QUrl&) { return answer; });
        platform::MsgBoxRecorder boxes;
        veltrano::OpenWebsite(QStringLiteral("http://example.org/setup.exe"));
        told += QByteArray::number(answer) + ':';
        for (const platform::MsgBoxCall& call : boxes.calls())
            told += ' ' + QByteArray::number(call.buttons) + ' ' +
                    (call.title + ": " + call.prompt).toUtf8();
        told += '\n';
    }
    EXPECT_GOLDEN(told, "openwebsite.txt");
}

TEST_F(TrayTest, TheFourEntryPointsOpenTheirAddresses) {
    platform::ShellRecorder shell([](const QUrl&) { return platform::shell::noAssociation; });
    platform::MsgBoxRecorder boxes;
    form.Image1->Click();
    form.mVisit->trigger();
    form.Image4->Click();
    form.mContact->trigger();
    const QUrl mail(QStringLiteral("mailto:") + QLatin1String(veltrano::addresses::supportMail));
    EXPECT_EQ(shell.opened(), QList<QUrl>({QUrl(veltrano::addresses::updateDownload),
                                           QUrl(veltrano::addresses::website), mail, mail}));
    EXPECT_EQ(boxes.calls().size(), 2); // the mail link fails silently
}
