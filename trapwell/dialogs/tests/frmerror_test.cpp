#include "dialogs/frmerror.h"

#include "core/tests/support/savedsettings.h"
#include "platform/tests/support/fakes.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

#include <gtest/gtest.h>

using trapwell::dialogs::frmError;

namespace {

// The thread's dialog with known sections, loaded as HandleError loads it. The instance and
// its fields outlive each test, as they outlive each error in a program: every field is set.
class FrmErrorTest : public ::testing::Test {
protected:
    FrmErrorTest() : dialog(frmError::instance()) {
        dialog.ShowAppInfo = dialog.ShowSysInfo = dialog.ShowDBInfo = false;
        dialog.ShowPostButton = false;
        dialog.m_bolTraceExecution = true;
        dialog.fUrl.clear();
        dialog.m_dblErrNum = 380;
        dialog.m_strDestination = QStringLiteral("/nonexistent/logs");
        dialog.m_strErrDetail = QStringLiteral("error text");
        dialog.AppLog = QStringLiteral("app text");
        dialog.SysLog = QStringLiteral("sys text");
        dialog.DbLog = QStringLiteral("db text");
    }
    ~FrmErrorTest() override {
        frmError::unloadInstance();
        forgetSettings();
    }

    // Shows the dialog as an activated window, as the user meets it.
    void activate() {
        dialog.refresh();
        dialog.show();
        returnTo();
    }
    void returnTo(QWidget* from = nullptr) {
        QApplication::setActiveWindow(from);
        QApplication::setActiveWindow(&dialog);
        QCoreApplication::processEvents();
    }
    QStringList visibleSectionButtons() const {
        QStringList names;
        for (QPushButton* b : {dialog.cmdErrorInfo, dialog.cmdAppInfo, dialog.cmdSystemInfo,
                               dialog.cmdDatabaseInfo, dialog.cmdPost})
            if (!b->isHidden())
                names << b->text();
        return names;
    }

    frmError& dialog;
    platform::ShellRecorder shell;
    platform::MsgBoxRecorder boxes;
};

} // namespace

// The window opens with the normal pointer, however many waits the host left on.
TEST_F(FrmErrorTest, FlagsDecideTheButtonsAndTheBodyAndPostingNeedsAnAddress) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    activate();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(visibleSectionButtons(), QStringList({"&Error Info"}));
    EXPECT_EQ(dialog.emailBody(), "error text");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "error text");

    dialog.ShowAppInfo = dialog.ShowSysInfo = dialog.ShowPostButton = true;
    returnTo();
    EXPECT_EQ(visibleSectionButtons(),
              QStringList({"&Error Info", "&App Info", "&System Info", "&Post Error"}));
    EXPECT_EQ(dialog.emailBody(), "error text\r\n\r\napp text\r\n\r\nsys text");

    dialog.cmdPost->click();
    EXPECT_EQ(boxes.texts(),
              QStringList{"Internet Error Reporting: Failed sending: URL property is empty"});
}

TEST_F(FrmErrorTest, ReturningToTheDialogShowsTheErrorSectionAndRenewsTheClipboard) {
    dialog.ShowSysInfo = true;
    activate();
    EXPECT_EQ(dialog.lblErrNum->text(), "Error Number: 380");
    dialog.cmdSystemInfo->click();
    EXPECT_EQ(dialog.lblTabHeading->text(), "System Information");
    EXPECT_EQ(dialog.txtOutput->toPlainText(), "sys text");
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));

    QWidget elsewhere;
    elsewhere.show();
    returnTo(&elsewhere);
    EXPECT_EQ(dialog.lblTabHeading->text(), "Error Information");
    EXPECT_EQ(dialog.txtOutput->toPlainText(), "error text");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "error text\r\n\r\nsys text");

    QTest::keyClicks(dialog.txtOutput, "typed"); // the report is read-only
    EXPECT_EQ(dialog.txtOutput->toPlainText(), "error text");
}

TEST_F(FrmErrorTest, LogButtonsFollowTracingAndTheStoredOptionShowsTheSettingsButton) {
    dialog.m_bolTraceExecution = false;
    activate();
    EXPECT_FALSE(dialog.cmdTraceLog->isEnabled());
    EXPECT_TRUE(dialog.cmdErrorLog->isEnabled());
    EXPECT_FALSE(dialog.cmdEmlSet->isHidden()); // no stored value counts as true
    dialog.cmdErrorLog->click();                // the log does not exist
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].contains("/nonexistent/logs/Error.log"));

    frmError::unloadInstance();
    storeSetting("EmailSettings", "False");
    dialog.m_bolTraceExecution = true;
    activate();
    EXPECT_TRUE(dialog.cmdEmlSet->isHidden());
    EXPECT_TRUE(dialog.cmdTraceLog->isEnabled());
}

// A fixed-size modal window is closed, never minimised or maximised: the frame offers only
// the close box, and the window manager may not add others.
TEST_F(FrmErrorTest, EnterClosesAtEveryShowingAndTheFrameOffersOnlyTheCloseBox) {
    dialog.ShowSysInfo = true;
    activate();
    const Qt::WindowFlags flags = dialog.windowHandle()->flags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    QTest::mouseClick(dialog.cmdSystemInfo, Qt::LeftButton);
    EXPECT_EQ(dialog.lblTabHeading->text(), "System Information");
    dialog.cmdClose->click();
    ASSERT_FALSE(dialog.isLoaded());

    activate();
    ASSERT_TRUE(dialog.isVisible());
    // The key goes where the window's focus is once it is active.
    QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.isLoaded());
    EXPECT_EQ(dialog.lblTabHeading->text(), "Error Information");
}

// However long the copy that is sent, its window stays within the screen it opens on (the
// offscreen one is 800 by 800) and the copy scrolls inside. The dialogs have fixed sizes that
// fit (layout_test.cpp).
TEST_F(FrmErrorTest, WhatIsSentFitsTheScreen) {
    trapwell::core::DeliveryOptions masked;
    masked.privacy = true;
    dialog.setDeliveryOptions(masked);
    dialog.m_strErrDetail = QStringLiteral("Error Description:\tlong\n").repeated(200);
    activate();
    const QRect screen = dialog.screen()->availableGeometry();
    QStringList shown;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        shown << box->windowTitle() << box->findChild<QLabel*>()->text();
        EXPECT_TRUE(screen.contains(box->frameGeometry())) << box->height();
        box->close();
    });
    dialog.cmdSent->click();
    EXPECT_EQ(shown, QStringList({"What Is Sent", dialog.outgoingBody()}));
}
