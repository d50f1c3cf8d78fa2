#include "componentports.h"
#include "dialogs/frmerror.h"

#include <trapwell/errhandler.h>

#include "platform/messagebox.h"
#include "platform/shell.h"
#include "platform/tests/support/fakes.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using trapwell::dialogs::frmError;

namespace {

// The thread's dialog with known sections, loaded as HandleError loads it.
class FrmErrorTest : public ::testing::Test {
protected:
    FrmErrorTest() : dialog(frmError::instance()) {
        dialog.m_dblErrNum = 380;
        dialog.m_strDestination = QStringLiteral("/nonexistent/logs");
        dialog.m_strErrDetail = QStringLiteral("error text");
        dialog.AppLog = QStringLiteral("app text");
        dialog.SysLog = QStringLiteral("sys text");
        dialog.DbLog = QStringLiteral("db text");
    }
    ~FrmErrorTest() override { frmError::unloadInstance(); }

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

TEST_F(FrmErrorTest, FlagsDecideTheButtonsAndTheBodyAndPostingNeedsAnAddress) {
    dialog.ShowAppInfo = dialog.ShowSysInfo = dialog.ShowDBInfo = dialog.ShowPostButton = false;
    activate();
    EXPECT_EQ(visibleSectionButtons(), QStringList({"&Error Info"}));
    EXPECT_EQ(dialog.emailBody(), "error text");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "error text");

    dialog.ShowAppInfo = dialog.ShowSysInfo = dialog.ShowPostButton = true;
    returnTo();
    EXPECT_EQ(visibleSectionButtons(),
              QStringList({"&Error Info", "&App Info", "&System Info", "&Post Error"}));
    EXPECT_EQ(dialog.emailBody(), "error text\r\n\r\napp text\r\n\r\nsys text");

    dialog.fUrl.clear();
    dialog.cmdPost->click();
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].title + ": " + boxes.calls()[0].prompt,
              "Internet Error Reporting: Failed sending: URL property is empty");
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
    dialog.cmdErrorLog->click();
    ASSERT_EQ(boxes.calls().size(), 1); // the log does not exist
    EXPECT_TRUE(boxes.calls()[0].prompt.contains("/nonexistent/logs/Error.log"));

    frmError::unloadInstance();
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn"));
    settings.setValue(QStringLiteral("ErrHandler/EmailSettings"), QStringLiteral("False"));
    settings.sync(); // the component reads the file itself
    dialog.m_bolTraceExecution = true;
    activate();
    EXPECT_TRUE(dialog.cmdEmlSet->isHidden());
    EXPECT_TRUE(dialog.cmdTraceLog->isEnabled());
    settings.remove(QStringLiteral("ErrHandler/EmailSettings"));
    settings.sync();
}

TEST(HandleErrorWithTheDialog, ShowsItModallyAndGoesOnWhenItIsClosed) {
    trapwell::ComPtr<trapwell::IclsErrHandler> p;
    ASSERT_EQ(trapwell::createComponentErrHandler(trapwell::IID_clsErrHandler, p.putVoid()),
              trapwell::status::ok);
    trapwell::ErrHandler handler(p);
    QTemporaryDir logs;
    handler.setDestination(logs.path());
    handler.setUseInterface(true);
    handler.setShowSysInfo(true);
    handler.Push(QStringLiteral("Form1.Image2_Click"));
    QString shownDetail;
    bool sysButton = false;
    QTimer::singleShot(50, [&] {
        frmError& dialog = frmError::instance();
        shownDetail = dialog.txtOutput->toPlainText();
        sysButton = !dialog.cmdSystemInfo->isHidden();
        dialog.cmdClose->click();
    });
    EXPECT_EQ(handler.HandleError(QStringLiteral("Invalid property value"), 380, 50), 0);
    // The text area keeps lines, not their CR LF endings.
    EXPECT_EQ(shownDetail,
              handler.ErrorLogDisplay().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(sysButton);
    EXPECT_FALSE(frmError::instance().isLoaded());
}
