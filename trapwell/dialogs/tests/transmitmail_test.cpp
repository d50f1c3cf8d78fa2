#include "core/clserrhandler.h"

#include <trapwell/errhandler.h>

#include "platform/automation.h"
#include "platform/messagebox.h"
#include "platform/shell.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

// A stand-in for the mail program's automation server, writing down what it is asked.
class FakeRecipients : public QObject {
    Q_OBJECT
public:
    explicit FakeRecipients(QStringList& log) : log_(log) {}
    Q_INVOKABLE void Add(const QString& address) { log_ << "Add " + address; }

private:
    QStringList& log_;
};

class FakeMailItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* Recipients READ recipients)
    Q_PROPERTY(QString Body READ body WRITE setBody)
    Q_PROPERTY(QString Subject READ subject WRITE setSubject)
public:
    explicit FakeMailItem(QStringList& log) : log_(log), recipients_(log) {}
    QObject* recipients() { return &recipients_; }
    QString body() const { return {}; }
    void setBody(const QString& b) { log_ << "Body " + b; }
    QString subject() const { return {}; }
    void setSubject(const QString& s) { log_ << "Subject " + s; }
    Q_INVOKABLE void Send() { log_ << "Send"; }

private:
    QStringList& log_;
    FakeRecipients recipients_;
};

class FakeOutlook : public QObject {
    Q_OBJECT
public:
    explicit FakeOutlook(QStringList& log) : log_(log), item_(log) {}
    Q_INVOKABLE QObject* CreateItem(qint16 kind) {
        log_ << "CreateItem " + QString::number(kind);
        return &item_;
    }

private:
    QStringList& log_;
    FakeMailItem item_;
};

class App : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ProductName MEMBER name)
    Q_PROPERTY(int Major MEMBER v)
    Q_PROPERTY(int Minor MEMBER v)
    Q_PROPERTY(int Revision MEMBER v)
public:
    QString name = QStringLiteral("Trainer");
    int v = 1;
};

class TransmitMailTest : public ::testing::Test {
protected:
    TransmitMailTest() : handler(create()) {
        handler.setEmailAddress(QStringLiteral("help@example.org"));
        handler.setAppObject(&app);
        store("EmailSettings", "True");
        store("ShowEmlScre", "1"); // the settings dialog is not offered
    }
    ~TransmitMailTest() override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn")).clear();
    }
    static trapwell::ErrHandler create() {
        trapwell::ComPtr<trapwell::IclsErrHandler> p;
        trapwell::core::createClsErrHandler(trapwell::IID_clsErrHandler, p.putVoid());
        return trapwell::ErrHandler(p);
    }
    static void store(const char* key, const char* value) {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn"))
            .setValue(QStringLiteral("ErrHandler/") + key, QString::fromLatin1(value));
    }
    static QString stored(const char* key) {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn"))
            .value(QStringLiteral("ErrHandler/") + key)
            .toString();
    }

    App app;
    trapwell::ErrHandler handler;
    platform::MsgBoxRecorder boxes;
};

} // namespace

TEST_F(TransmitMailTest, TheMailProgramGetsAnUnencodedLinkAndTheBodyWaitsOnTheClipboard) {
    store("EmailType", "1");
    platform::ShellRecorder shell;
    handler.TransmitMail(QStringLiteral("the report"));
    EXPECT_EQ(stored("EmailFlag"), "True");
    ASSERT_EQ(shell.opened().size(), 1);
    EXPECT_EQ(shell.opened()[0],
              QUrl("mailto:help@example.org?Subject=Trainer 1.1.1 Application Error"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "the report");
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].prompt, "Composed Error Email in Default Mail Client.");
    EXPECT_EQ(boxes.calls()[0].title, "Operation Successful");
}

TEST_F(TransmitMailTest, OnlyAHandedOverLinkCountsAndALongOneIsTriedAgainShorter) {
    store("EmailType", "1");
    handler.setEmailAddress(QString(500, u'a') + QStringLiteral("@example.org"));
    platform::ShellRecorder shell([](const QUrl&) { return 33; });
    handler.TransmitMail(QStringLiteral("x"));
    ASSERT_EQ(shell.opened().size(), 2);
    EXPECT_EQ(shell.opened()[1].toString(QUrl::FullyDecoded).size(), 400);
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].prompt, "Error occurred while attempting to email error");
    EXPECT_EQ(boxes.calls()[0].buttons, platform::mb::Critical);
}

TEST_F(TransmitMailTest, TheAutomationServerIsAskedInOrderOrItsAbsenceReported) {
    store("EmailType", "0");
    handler.TransmitMail(QStringLiteral("body"));
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].prompt,
              "Error occurred while attempting to compose Error email in MS Outlook");

    QStringList log;
    platform::AutomationServers::Registration outlook(
        QStringLiteral("Outlook.Application"), [&] { return std::make_unique<FakeOutlook>(log); });
    handler.TransmitMail(QStringLiteral("body"));
    EXPECT_EQ(log, QStringList({"CreateItem 0", "Add help@example.org", "Body body",
                                "Subject Trainer 1.1.1 Application Error", "Send"}));
    EXPECT_EQ(boxes.calls().last().prompt, "Composed Error Email in MS Outlook.");
}

TEST_F(TransmitMailTest, ADeclinedOrUnknownDeliverySendsNothing) {
    platform::ShellRecorder shell;
    store("EmailSettings", "False");
    store("EmailFlag", "False");
    store("EmailType", "1");
    handler.TransmitMail(QStringLiteral("kept on the clipboard"));
    EXPECT_TRUE(shell.opened().isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept on the clipboard");

    store("EmailFlag", "True");
    store("EmailType", "7");
    handler.TransmitMail(QStringLiteral("x"));
    store("EmailType", "x"); // a bad stored kind ends it silently
    handler.TransmitMail(QStringLiteral("x"));
    EXPECT_TRUE(shell.opened().isEmpty());
    EXPECT_TRUE(boxes.calls().isEmpty());
}

#include "transmitmail_test.moc"
