// The handler as the component puts it together: HandleError through the real error dialog,
// TransmitMail through the dialog's SMTP connection.

#include "delivery/smtpmailer.h"
#include "dialogs/frmerror.h"

#include "platform/tests/support/fakes.h"
#include "platform/tests/support/testpeer.h"
#include "trapwell/tests/support/component.h"

#include <QApplication>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using trapwell::dialogs::frmError;

namespace {
// Runs user on the error dialog once the user could: up as the active modal window, its
// activation handled, however long the report takes to compose first.
void whenModal(const std::function<void(frmError&)>& user) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, user] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!frmError::exists() || modal != &frmError::instance() || !modal->isVisible())
            return;
        // Without a window manager nothing activates a window shown again: the user's click.
        if (!modal->isActiveWindow())
            return QApplication::setActiveWindow(modal);
        poll->deleteLater();
        poll->stop();
        user(frmError::instance());
    });
    poll->start(10);
}

// The mail server's port; replies are waited for as long as a loaded machine needs.
struct ServerPort final : trapwell::delivery::SmtpLimits {
    explicit ServerPort(quint16 port) : port_(port) {}
    quint16 port() const override { return port_; }
    double replySeconds() const override { return 60.0; }
    quint16 port_;
    Override use{*this};
};
} // namespace

TEST(HandleErrorWithTheDialog, ShowsItModallyAndGoesOnWhenItIsClosed) {
    trapwell::ErrHandler handler = componentHandler();
    QTemporaryDir logs;
    handler.setDestination(logs.path());
    handler.setUseInterface(true);
    handler.setShowSysInfo(true);
    handler.Push(QStringLiteral("Form1.Image2_Click"));
    QString shownDetail;
    bool sysButton = false;
    whenModal([&](frmError& dialog) {
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

// Each TransmitMail borrows the error dialog's connection (loading the dialog unseen, under
// the wait cursor) and sends one mail.
TEST(TransmitMailBySmtp, SendsEachReportThroughTheDialogsConnection) {
    TestPeer server(QStringLiteral("/usr/bin/python3"), {QStringLiteral(SMTP_DEBUGGING_SERVER)});
    ASSERT_NE(server.port(), 0) << server.errors().data();
    ServerPort port(server.port());
    platform::MsgBoxRecorder boxes;
    storeSetting("EmailSettings", "False"); // not offered first
    trapwell::ErrHandler handler = componentHandler();
    handler.setEmailType(trapwell::aeSMTP);
    handler.setSMTPMailServer(QStringLiteral("127.0.0.1"));
    handler.setFromName(QStringLiteral("Sender Name"));
    handler.setFromEmailAddress(QStringLiteral("sender@example.com"));
    handler.setEmailAddress(QStringLiteral("mailto:to@example.com"));
    handler.TransmitMail(QStringLiteral("first report"));
    handler.TransmitMail(QStringLiteral("second report"));
    const QString composed = QStringLiteral("Operation Successful: Composed Error Email in SMTP.");
    EXPECT_EQ(boxes.texts(), QStringList({composed, composed}));
    QByteArray received;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return (received = server.printed()).contains("second report"); }, 30000));
    // Each mail goes to the address without its "mailto:".
    EXPECT_EQ(received.count("\nTO:  to@example.com\n"), 2) << received.data();
    EXPECT_TRUE(received.contains("first report"));
    forgetSettings();
}
