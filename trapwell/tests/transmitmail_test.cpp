#include "platform/automation.h"
#include "platform/tests/support/fakes.h"
#include "trapwell/tests/support/component.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

// The mail program's automation server, its mail item and the item's recipients in one,
// writing down what it is asked.
class FakeOutlook : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* Recipients READ self CONSTANT)
    Q_PROPERTY(QString Body READ none WRITE setBody)
    Q_PROPERTY(QString Subject READ none WRITE setSubject)
public:
    explicit FakeOutlook(QStringList& log) : log(log) {}
    Q_INVOKABLE QObject* CreateItem(qint16 kind) {
        log << "CreateItem " + QString::number(kind);
        return this;
    }
    Q_INVOKABLE void Add(const QString& address) { log << "Add " + address; }
    Q_INVOKABLE void Send() { log << "Send"; }
    QObject* self() { return this; }
    QString none() const { return {}; }
    void setBody(const QString& b) { log << "Body " + b; }
    void setSubject(const QString& s) { log << "Subject " + s; }
    QStringList& log;
};

class TransmitMailTest : public ::testing::Test {
protected:
    TransmitMailTest() {
        for (const char* member : {"Major", "Minor", "Revision"})
            app.setProperty(member, 1);
        app.setProperty("ProductName", QStringLiteral("Trainer"));
        handler.setEmailAddress(QStringLiteral("help@example.org"));
        handler.setAppObject(&app);
        storeSetting("EmailSettings", "True");
        storeSetting("ShowEmlScre", "1"); // the settings dialog is not offered
    }
    ~TransmitMailTest() override { forgetSettings(); }

    QObject app;
    trapwell::ErrHandler handler = componentHandler();
    platform::MsgBoxRecorder boxes;
};

} // namespace

TEST_F(TransmitMailTest, TheMailProgramGetsAnUnencodedLinkOnlyAHandedOverOneCounts) {
    storeSetting("EmailType", "1");
    platform::ShellRecorder shell;
    handler.TransmitMail(QStringLiteral("the report"));
    EXPECT_EQ(storedSetting("EmailFlag"), "True");
    EXPECT_EQ(shell.opened(),
              QList<QUrl>{QUrl("mailto:help@example.org?Subject=Trainer 1.1.1 Application Error")});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "the report");
    EXPECT_EQ(boxes.texts(),
              QStringList{"Operation Successful: Composed Error Email in Default Mail Client."});

    // Only a handed-over link counts; a long one is tried again shorter.
    handler.setEmailAddress(QString(500, u'a') + QStringLiteral("@example.org"));
    platform::ShellRecorder failing([](const QUrl&) { return 33; });
    handler.TransmitMail(QStringLiteral("x"));
    ASSERT_EQ(failing.opened().size(), 2);
    EXPECT_EQ(failing.opened()[1].toString(QUrl::FullyDecoded).size(), 400);
    EXPECT_EQ(boxes.texts().mid(1),
              QStringList{"Operation Failed: Error occurred while attempting to email error"});
    EXPECT_EQ(boxes.calls().value(1).buttons, platform::mb::Critical);
}

TEST_F(TransmitMailTest, TheAutomationServerIsAskedInOrderOrItsAbsenceReported) {
    storeSetting("EmailType", "0");
    handler.TransmitMail(QStringLiteral("body"));
    QStringList log;
    platform::AutomationServers::Registration outlook(
        QStringLiteral("Outlook.Application"), [&] { return std::make_unique<FakeOutlook>(log); });
    handler.TransmitMail(QStringLiteral("body"));
    EXPECT_EQ(log, QStringList({"CreateItem 0", "Add help@example.org", "Body body",
                                "Subject Trainer 1.1.1 Application Error", "Send"}));
    EXPECT_EQ(boxes.texts(),
              QStringList({"Operation Failed: Error occurred while attempting to compose Error "
                           "email in MS Outlook",
                           "Operation Successful: Composed Error Email in MS Outlook."}));
}

TEST_F(TransmitMailTest, ADeclinedOrUnknownDeliverySendsNothing) {
    platform::ShellRecorder shell;
    storeSetting("EmailSettings", "False");
    storeSetting("EmailFlag", "False");
    storeSetting("EmailType", "1");
    handler.TransmitMail(QStringLiteral("kept on the clipboard"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept on the clipboard");

    storeSetting("EmailFlag", "True");
    for (const char* kind : {"7", "x"}) { // a bad stored kind ends it silently
        storeSetting("EmailType", kind);
        handler.TransmitMail(QStringLiteral("x"));
    }
    EXPECT_TRUE(shell.opened().isEmpty());
    EXPECT_TRUE(boxes.calls().isEmpty());
}

#include "transmitmail_test.moc"
