// The icon's popup menu as the learner uses it: its items, Start and Stop, the saved
// choices, editing the chosen module, the web links and Quit. The menu's actions are triggered
// directly: there is no tray host offscreen.

#include "links/addresses.h"
#include "links/website.h"
#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/systray.h"
#include "mainwindow/trayhandlers.h"
#include "mainwindow/traymenu.h"
#include "presentation/options.h"
#include "presentation/presentationcontrol.h"

#include "../support/programfixture.h"

#include "platform/settingsstore.h"
#include "platform/tests/support/fakes.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QtCore/qtestsupport_core.h>

using veltrano::Form1;
using veltrano::Form2;
using veltrano::Options;
using veltrano::Presentation;

namespace {

class TrayMenuTest : public ProgramTest {
protected:
    TrayMenuTest() {
        form.Timer1->stop();
        form.Form_Load();
    }
    veltrano::TrayMenu& menu() { return form.trayMenu(); }
    static QStringList texts(const QMenu* menu) {
        QStringList list;
        for (const QAction* action : menu->actions())
            list << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return list;
    }
    static QString checked(const QMenu* menu) {
        for (const QAction* action : menu->actions())
            if (action->isChecked())
                return action->text();
        return {};
    }
    static void store(const QString& key, const QString& value) {
        platform::SettingsStore::current().SaveSetting(QStringLiteral("Veltrano Rudoz Arirera"),
                                                       Options::section(), key, value);
    }
    static QString stored(const QString& key) {
        return platform::SettingsStore::current().GetSetting(
            QStringLiteral("Veltrano Rudoz Arirera"), Options::section(), key);
    }

    Form1 form;
};

} // namespace

TEST_F(TrayMenuTest, TheMenuKeepsItsItemsAndAddsTheNewOnesAfterThem) {
    EXPECT_EQ(texts(form.mFile),
              QStringList({"Restore", "-", "Contact Development Team", form.mVisit->text(), "-",
                           "Start", "Show Each Entry For", "Meanings In", "Pause While Full Screen",
                           "Edit Words…", "-", "Quit"}));
    EXPECT_EQ(texts(menu().mShowFor), QStringList({"0.3 s", "1 s", "2 s"}));
    EXPECT_EQ(texts(menu().mMeaningsIn),
              QStringList({"English", "Deutsch", "Français", "Español", "Italiano", "Português",
                           "Polski", "Русский"}));
}

// Start from the menu runs the presentation as the window's button does; Stop, chosen from
// the menu while it runs, ends it, and the item always names what it will do.
TEST_F(TrayMenuTest, StartAndStopFromTheMenu) {
    writeModule(7, "one\ntwo\nthree\n");
    Presentation::SelectedModule = 7;
    Presentation::WordInterval = 1;
    QStringList shown;
    QString itemWhileRunning;
    Form2& strip = Form2::instance();
    QObject::connect(strip.List1, &QListWidget::currentRowChanged, strip.List1, [&](int row) {
        if (row < 0)
            return;
        shown << strip.List1->item(row)->text();
        itemWhileRunning = menu().mStart->text();
        if (shown.size() == 2)
            menu().mStart->trigger();
    });
    menu().mStart->trigger();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return shown.size() == 2 && !Presentation::running; }, 20000));
    EXPECT_EQ(shown, QStringList({"two", "three"}));
    EXPECT_EQ(itemWhileRunning, "Stop");
    EXPECT_EQ(menu().mStart->text(), "Start");
    EXPECT_FALSE(form.Image2->isHidden());
    EXPECT_TRUE(form.Image3->isHidden());
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
}

TEST_F(TrayMenuTest, ChoicesAreSavedAndSurviveARestart) {
    EXPECT_EQ(checked(menu().mShowFor), "0.3 s");
    EXPECT_EQ(checked(menu().mMeaningsIn), "English");
    EXPECT_TRUE(menu().mPauseFullScreen->isChecked());

    menu().mShowFor->actions()[1]->trigger();
    menu().mMeaningsIn->actions()[1]->trigger();
    menu().mPauseFullScreen->trigger();
    EXPECT_EQ(stored(Options::entrySecondsKey()), "1");
    EXPECT_EQ(stored(Options::meaningsInKey()), "de");
    EXPECT_EQ(stored(Options::pauseWhileFullScreenKey()), "0");

    Form1 again;
    again.Timer1->stop();
    again.Form_Load();
    EXPECT_EQ(checked(again.trayMenu().mShowFor), "1 s");
    EXPECT_EQ(checked(again.trayMenu().mMeaningsIn), "Deutsch");
    EXPECT_FALSE(again.trayMenu().mPauseFullScreen->isChecked());

    // Values that are not offered read as the defaults.
    store(Options::entrySecondsKey(), QStringLiteral("0.5"));
    store(Options::meaningsInKey(), QStringLiteral("Deutsch"));
    store(Options::pauseWhileFullScreenKey(), QStringLiteral("no"));
    emit form.mFile->aboutToShow();
    EXPECT_EQ(checked(menu().mShowFor), "0.3 s");
    EXPECT_EQ(checked(menu().mMeaningsIn), "English");
    EXPECT_TRUE(menu().mPauseFullScreen->isChecked());
}

// The learner edits a copy in their own folder; the program's module stays as shipped and a
// second edit keeps what the learner wrote.
TEST_F(TrayMenuTest, EditWordsOpensTheLearnersOwnCopy) {
    platform::ShellRecorder shell;
    platform::MsgBoxRecorder boxes;
    writeModule(7, "shipped\n");
    writeModule(7, "geliefert\n", QStringLiteral("data-de"));
    Options::setMeaningsIn(QStringLiteral("de"));
    Presentation::SelectedModule = 7;
    menu().mEditWords->trigger();
    const QString own = veltrano::ModuleFiles::userPath(7);
    ASSERT_EQ(shell.opened().size(), 1);
    EXPECT_EQ(shell.opened()[0], QUrl::fromLocalFile(own));
    EXPECT_EQ(fileBytes(own), "geliefert\n");
    writeFile(own, "geliefert\nneu - new\n");

    menu().mEditWords->trigger();
    EXPECT_EQ(fileBytes(own), "geliefert\nneu - new\n");
    EXPECT_EQ(fileBytes(temp.filePath(QStringLiteral("data-de/7.txt"))), "geliefert\n");

    // A module that was never shipped starts empty; no module chosen is refused.
    Presentation::SelectedModule = 12;
    menu().mEditWords->trigger();
    EXPECT_EQ(QFileInfo(veltrano::ModuleFiles::userPath(12)).size(), 0);
    Presentation::SelectedModule = 0;
    menu().mEditWords->trigger();
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].prompt, "You have to select a module");
    EXPECT_EQ(shell.opened().size(), 3);
    EXPECT_EQ(handler().ErrNum(), 0);
}

TEST_F(TrayMenuTest, QuitEndsTheProgram) {
    platform::ProgramEndRecorder ends;
    menu().mQuit->trigger();
    EXPECT_EQ(ends.count(), 1);
}

TEST_F(TrayMenuTest, OpenWebsiteTellsWhatWentWrong) {
    const QString address = QStringLiteral("http://example.org/setup.exe");
    const struct {
        int result;
        int buttons;
        QString prompt;
    } cases[] = {
        {31, platform::mb::Exclamation,
         "No Association Found for HTTP Addresses. A Web Browser Should be Installed or "
         "Reinstalled."},
        {2, platform::mb::Exclamation, "The '" + address + "' File or Path was Not Found."},
        {3, platform::mb::Exclamation, "The '" + address + "' File or Path was Not Found."},
        {5, platform::mb::Critical,
         "An error occurred attempting to open '" + address + "' (ShellExecute code 5)."},
    };
    for (const auto& c : cases) {
        platform::ShellRecorder shell([&](const QUrl&) { return c.result; });
        platform::MsgBoxRecorder boxes;
        veltrano::OpenWebsite(address);
        ASSERT_EQ(boxes.calls().size(), 1) << c.result;
        EXPECT_EQ(boxes.calls()[0].prompt, c.prompt);
        EXPECT_EQ(boxes.calls()[0].buttons, c.buttons);
        EXPECT_EQ(boxes.calls()[0].title, "Veltrano Rudoz Arirera");
    }
    for (int silent : {0, 42}) {
        platform::ShellRecorder shell([&](const QUrl&) { return silent; });
        platform::MsgBoxRecorder boxes;
        veltrano::OpenWebsite(address);
        EXPECT_TRUE(boxes.calls().isEmpty()) << silent;
    }
}

TEST_F(TrayMenuTest, TheFourEntryPointsOpenTheirAddresses) {
    platform::ShellRecorder shell([](const QUrl&) { return platform::shell::noAssociation; });
    platform::MsgBoxRecorder boxes;
    form.Image1->Click();
    form.mVisit->trigger();
    form.Image4->Click();
    form.mContact->trigger();
    const QUrl mail(QStringLiteral("mailto:") + QLatin1String(veltrano::addresses::supportMail));
    EXPECT_EQ(shell.opened(), QList<QUrl>({QUrl(veltrano::addresses::updateDownload),
                                           QUrl(veltrano::addresses::website), mail, mail}));
    // The mail link fails silently; the two web addresses each told the user.
    EXPECT_EQ(boxes.calls().size(), 2);
    EXPECT_EQ(traceLines().filter(QRegularExpression("^Form1.(Image[14]|mVisit|mContact)_")).size(),
              4);
}
