#include "delivery/outboxworker.h"
#include "delivery/smtpmailer.h"
#include "dialogs/frmerror.h"

#include "platform/tests/support/fakes.h"
#include "trapwell/tests/support/component.h"

#include "../testpeer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QtCore/qtestsupport_core.h>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <vector>

using trapwell::delivery::SmtpMailer;

namespace {

// A message box as one comparable line.
QString box(const QString& title, const QString& prompt, int buttons) {
    return title + " | " + prompt + " | " + QString::number(buttons);
}
const QString composed =
    box("Operation Successful", "Composed Error Email in SMTP.", platform::mb::OKOnly);
const QString timedOut =
    box("SMTP Timeout", "SMTP Service error, Timed out while waiting for response",
        platform::mb::Information);
const QString improper =
    box("SMTP Timeout",
        "SMTP Service error, Improper response Code, Code Should have been:250CodeRecieved%1",
        platform::mb::Information);

// A clock that runs with real time from a fixed instant.
struct RunningClock : platform::Clock {
    explicit RunningClock(QDateTime from) : from_(std::move(from)) { timer_.start(); }
    QDateTime now() const override { return from_.addMSecs(timer_.elapsed()); }
    QDateTime from_;
    QElapsedTimer timer_;
};

// The mailer's port and reply limit for the test: the test's own server, and a limit far
// beyond any reply's delay on a loaded machine (a test that needs a wait to run out says so
// with endWaitsAfter or a limit of its own).
struct TestLimits final : trapwell::delivery::SmtpLimits {
    quint16 port() const override { return serverPort; }
    double replySeconds() const override { return seconds; }
    quint16 serverPort = 25;
    double seconds = 60.0;
    Override use{*this};
};

class SmtpMailerTest : public ::testing::Test {
protected:
    SmtpMailerTest() {
        // Wired as the error dialog's copy is: each arrival replaces the buffer.
        QObject::connect(&connection, &platform::TcpConnection::DataArrival,
                         [this] { mailer.ReplyBuffer = connection.GetData(); });
        // The date header follows the user's locale; the expected bytes are written for this one.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~SmtpMailerTest() override { QLocale::setDefault(QLocale::c()); }

    TestPeer& start(const QString& program, const QStringList& args,
                    const QRegularExpression& portLine = QRegularExpression("^(\\d+)$"),
                    QProcess::ProcessChannel channel = QProcess::StandardOutput) {
        TestPeer& peer =
            *peers.emplace_back(std::make_unique<TestPeer>(program, args, portLine, channel));
        EXPECT_NE(peer.port(), 0) << program.toStdString() << ": " << peer.errors().data();
        return peer;
    }
    TestPeer& startFaultServer(const QString& mode) {
        TestPeer& server = start(python, {SMTP_FAULT_SERVER, mode});
        limits.serverPort = server.port();
        return server;
    }
    // aiosmtpd behind a recorder of the bytes each way; returns the server.
    TestPeer& startRecordedServer() {
        const QString debuggingServer =
            QFileInfo(QStringLiteral(SMTP_FAULT_SERVER)).dir().filePath("debuggingserver.py");
        TestPeer& server = start(python, {debuggingServer});
        const TestPeer& recorder =
            start(QStringLiteral("socat"),
                  {"-d", "-d", "-r", dir.filePath("c2s.bin"), "-R", dir.filePath("s2c.bin"),
                   QStringLiteral("TCP-LISTEN:0,bind=127.0.0.1,reuseaddr,fork"),
                   "TCP:127.0.0.1:" + QString::number(server.port())},
                  QRegularExpression(QStringLiteral("listening on AF=2 127\\.0\\.0\\.1:(\\d+)")),
                  QProcess::StandardError);
        limits.serverPort = recorder.port();
        return server;
    }
    // The client's bytes, once the recorder has them all.
    QByteArray clientBytes() {
        QByteArray bytes;
        // What is missing then shows in the comparison of the bytes.
        (void)QTest::qWaitFor(
            [&] {
                QFile file(dir.filePath("c2s.bin"));
                bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
                return bytes.endsWith("QUIT\r\n");
            },
            10000);
        return bytes;
    }
    // The server sends nothing after a reply that starts with lastReply, so once it has
    // arrived the wait for the right code may end as if its limit had passed: waiting out
    // the real limit would show nothing more. Two passes later, since the wait for any
    // reply, ending in the pass that brought this one, still judges by its old limit.
    void endWaitsAfter(const QString& lastReply) {
        QObject::connect(&connection, &platform::TcpConnection::DataArrival, [this, lastReply] {
            if (mailer.ReplyBuffer.startsWith(lastReply))
                QTimer::singleShot(
                    0, [this] { QTimer::singleShot(0, [this] { limits.seconds = 0.0; }); });
        });
    }
    void send(const QString& body = QStringLiteral("Line one\r\nLine two"),
              const QString& toName = QStringLiteral("Recipient Name")) {
        mailer.SendEmail(QStringLiteral("127.0.0.1"), QStringLiteral("Sender Name"),
                         QStringLiteral("sender@example.com"), toName,
                         QStringLiteral("to@example.com"), QStringLiteral("Error report"), body);
    }
    QStringList shown() const {
        QStringList all;
        for (const platform::MsgBoxCall& call : boxes.calls())
            all << box(call.title, call.prompt, call.buttons);
        return all;
    }

    const QString python = QStringLiteral("/usr/bin/python3");
    platform::MsgBoxRecorder boxes;
    platform::TcpConnection connection;
    int asked = 0;
    int beforeConnect = 0;
    std::vector<trapwell::delivery::OutgoingMessage> undelivered;
    SmtpMailer mailer{{[this]() -> platform::TcpConnection& { return ++asked, connection; },
                       [this] { ++beforeConnect; },
                       [this](const auto& message) { undelivered.push_back(message); }}};
    QTemporaryDir dir;
    TestLimits limits;
    std::vector<std::unique_ptr<TestPeer>> peers;
};

} // namespace

TEST(SmtpDateText, UsesTheLocalesNamesAndSeparatorsWith24HourTime) {
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    EXPECT_EQ(trapwell::delivery::smtpDateText({{2003, 8, 2}, {16, 5, 9}}, finnish),
              finnish.dayName(6, QLocale::ShortFormat) + ",02." +
                  finnish.monthName(8, QLocale::ShortFormat) + ".2003 16.05.09-0600");
}

TEST_F(SmtpMailerTest, BlankSenderIsRefusedBeforeAnythingConnects) {
    mailer.SendEmail("127.0.0.1", "", "", "", "to@example.com", "s", "b");
    mailer.SendEmail("127.0.0.1", "Sender", "", "", "to@example.com", "s", "b");
    EXPECT_EQ(
        shown(),
        QStringList({box("Trapwell", "From Name cannot be blank", platform::mb::OKOnly),
                     box("Trapwell", "From Email Address cannot be blank", platform::mb::OKOnly)}));
    EXPECT_EQ(asked + beforeConnect, 0);
    EXPECT_TRUE(connection.isClosed());
}

// Body lines that start with a dot are doubled, so none can end the message early; lines
// end in CR LF whatever ended them; a blank recipient name falls back to the address.
TEST_F(SmtpMailerTest, DialogueGoesOutByteForByte) {
    // Standing still: starting the servers on a loaded machine can take more than a second.
    const platform::SettableClock clock({{2003, 8, 20}, {4, 21, 56}});
    TestPeer& server = startRecordedServer();
    send(".lead\r\n.\r\nmiddle\n.\rlast", "");

    EXPECT_EQ(clientBytes(),
              "HELO 127.0.0.1\r\nMAIL FROM:  sender@example.com\r\nRCPT TO:  to@example.com\r\n"
              "DATA\r\nFROM:  Sender Name\r\nDATE:  Wed,20/Aug/2003 04:21:56-0600\r\n"
              "Error Object Mailer\r\nTO:  to@example.com\r\nSUBJECT:  Error report\r\n\r\n"
              "..lead\r\n..\r\nmiddle\r\n..\r\nlast\r\n\r\n.\r\nQUIT\r\n");
    EXPECT_EQ(shown(), QStringList{composed});
    EXPECT_TRUE(connection.isClosed());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(beforeConnect, 1);
    const QByteArray received = server.output();
    EXPECT_TRUE(received.contains("SUBJECT:  Error report\nX-Peer")) << received.data();
    EXPECT_TRUE(received.contains("\n.lead\n.\nmiddle\n.\nlast\n"));
    EXPECT_TRUE(undelivered.empty());
}

TEST_F(SmtpMailerTest, ControlCharactersInValuesCannotInjectCommandsOrHeaders) {
    TestPeer& server = startFaultServer("accept-all");
    // NUL, TAB and DEL as well as line breaks: a NUL would cut the header at some servers.
    const QString subject = QString::fromLatin1("Hi\r\n\r\nforged\0\tbody\x7f", 19);
    mailer.SendEmail("127.0.0.1\r\n", "Eve\r\nBcc: x@evil", "a@example.com\r\nDATA",
                     "Bob\nX-Evil: 1", "b@example.com\rRSET", subject, "body");
    EXPECT_EQ(shown(), QStringList{composed});
    const QByteArray received = server.output(10000);
    EXPECT_TRUE(received.startsWith("HELO 127.0.0.1  \r\nMAIL FROM:  a@example.com  DATA\r\n"
                                    "RCPT TO:  b@example.com RSET\r\nDATA\r\n"
                                    "FROM:  Eve  Bcc: x@evil\r\n"));
    EXPECT_TRUE(received.contains("TO:  Bob X-Evil: 1\r\n"
                                  "SUBJECT:  Hi    forged  body \r\n\r\nbody\r\n"));
}

// Proving that no reply comes takes the whole limit: 1 s of real time, the one wait here
// that is not ended by an event. The wait is measured on a monotonic clock: a time of day
// that wraps at midnight during the wait neither ends it early nor makes it endless. Only
// its lower bound is checked.
TEST_F(SmtpMailerTest, SilentServerTimesOutAfterTheLimitEvenAcrossMidnightWithNothingSent) {
    limits.seconds = 1.0;
    TestPeer& server = startFaultServer("silent");
    RunningClock clock({{2003, 8, 20}, {23, 59, 59, 500}});
    platform::Clock::Override nearMidnight(clock);
    QElapsedTimer took;
    took.start();
    send();
    EXPECT_GE(took.elapsed(), 1000);
    EXPECT_EQ(shown(), QStringList{timedOut});
    connection.Close();
    EXPECT_EQ(server.output(10000), "<closed>");
}

// The mail the server refused is handed on whole, and later goes from the outbox as it was.
TEST_F(SmtpMailerTest, RejectedRecipientStopsWithoutQuitHandsTheMailOnAndTheNextSendCloses) {
    TestPeer& server = startFaultServer("reject-rcpt");
    endWaitsAfter("550");
    send(QStringLiteral("Line one\r\n.dot"));
    EXPECT_EQ(shown(), QStringList{improper.arg("550 5.1.1 no such user\r\n")});
    EXPECT_FALSE(connection.isClosed());
    ASSERT_EQ(undelivered.size(), 1u);
    const trapwell::delivery::OutgoingMessage kept = undelivered.front();
    EXPECT_EQ(kept.kind, trapwell::delivery::OutgoingMessage::Kind::Smtp);
    EXPECT_EQ(kept.target, "127.0.0.1");
    EXPECT_EQ(kept.from, "sender@example.com");
    EXPECT_EQ(kept.to, "to@example.com");
    EXPECT_TRUE(kept.body.startsWith("FROM:  Sender Name\r\nDATE:  "));
    EXPECT_TRUE(kept.body.endsWith("SUBJECT:  Error report\r\n\r\nLine one\r\n..dot\r\n\r\n"));

    const RefusedPort refused;
    limits.serverPort = refused.port();
    send();
    EXPECT_EQ(server.output(10000), "HELO 127.0.0.1\r\nMAIL FROM:  sender@example.com\r\n"
                                    "RCPT TO:  to@example.com\r\n<closed>");

    TestPeer& willing = startFaultServer("accept-all");
    trapwell::delivery::OutgoingMessage retry = kept;
    retry.port = limits.serverPort;
    EXPECT_EQ(trapwell::delivery::attemptDelivery(retry).outcome,
              trapwell::delivery::Attempt::Delivered);
    const QByteArray received = willing.output(5000);
    EXPECT_TRUE(received.contains("MAIL FROM:<sender@example.com>")) << received.constData();
    EXPECT_TRUE(received.contains("RCPT TO:<to@example.com>"));
    EXPECT_TRUE(received.contains("SUBJECT:  Error report\r\n\r\nLine one\r\n..dot\r\n"));
}

TEST_F(SmtpMailerTest, SecondPieceOfTheGreetingIsWhatTheNextWaitTests) {
    TestPeer& server = startFaultServer("split-greeting");
    endWaitsAfter("554");
    send();
    EXPECT_EQ(shown(), QStringList{improper.arg("554 second piece\r\n")});
    connection.Close();
    EXPECT_EQ(server.output(10000), "HELO 127.0.0.1\r\n<closed>");
}

// The component's own copy: TransmitMail borrows the error dialog's connection, loading the
// dialog's window unseen, and unloads it afterwards; the next send loads it again.
TEST_F(SmtpMailerTest, TransmitMailBorrowsTheDialogsConnectionForEachSend) {
    startRecordedServer();
    storeSetting("EmailSettings", "False");
    storeSetting("EmailFlag", "True");
    trapwell::ErrHandler handler = componentHandler();
    handler.setEmailType(trapwell::aeSMTP);
    handler.setSMTPMailServer(QStringLiteral("127.0.0.1"));
    handler.setFromName(QStringLiteral("Sender Name"));
    handler.setFromEmailAddress(QStringLiteral("sender@example.com"));
    handler.setEmailAddress(QStringLiteral("mailto:to@example.com"));

    for (const char* report : {"first report", "second report"}) {
        handler.TransmitMail(QString::fromLatin1(report));
        EXPECT_FALSE(trapwell::dialogs::frmError::instance().isLoaded());
    }
    EXPECT_EQ(shown(), QStringList({composed, composed}));
    const QByteArray bytes = clientBytes();
    EXPECT_EQ(bytes.count("RCPT TO:  to@example.com\r\n"), 2);
    EXPECT_TRUE(bytes.contains("first report\r\n") && bytes.contains("second report\r\n"));
    forgetSettings();
}
