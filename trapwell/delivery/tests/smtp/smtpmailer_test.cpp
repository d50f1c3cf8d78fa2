#include "delivery/outboxworker.h"
#include "delivery/smtpmailer.h"

#include "platform/tests/support/fakes.h"
#include "platform/tests/support/golden.h"
#include "platform/tests/support/testpeer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QtCore/qtestsupport_core.h>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <vector>

using namespace trapwell::delivery;

namespace {

const QString composed = QStringLiteral("Operation Successful: Composed Error Email in SMTP.");
const QString timedOut =
    QStringLiteral("SMTP Timeout: SMTP Service error, Timed out while waiting for response");
const QString improper = QStringLiteral("SMTP Timeout: SMTP Service error, Improper response "
                                        "Code, Code Should have been:250CodeRecieved%1");

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
struct TestLimits final : SmtpLimits {
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
    // A failure informs; every other box only acknowledges.
    void TearDown() override {
        for (const platform::MsgBoxCall& call : boxes.calls())
            EXPECT_EQ(call.buttons, call.title == "SMTP Timeout" ? platform::mb::Information
                                                                 : platform::mb::OKOnly)
                << call.title.toStdString();
    }

    // A server of the test's own on loopback, which the mailer then talks to.
    TestPeer& start(const QStringList& args, const QString& program = "/usr/bin/python3",
                    const QString& portLine = QStringLiteral("^(\\d+)$"),
                    QProcess::ProcessChannel channel = QProcess::StandardOutput) {
        TestPeer& peer = peers.emplace_back(program, args, portLine, channel);
        EXPECT_NE(peer.port(), 0) << program.toStdString() << ": " << peer.errors().data();
        limits.serverPort = peer.port();
        return peer;
    }
    // aiosmtpd behind a recorder of the bytes each way; returns the server.
    TestPeer& startRecordedServer() {
        TestPeer& server = start({SMTP_DEBUGGING_SERVER});
        start({"-d", "-d", "-r", dir.filePath("c2s.bin"), "-R", dir.filePath("s2c.bin"),
               "TCP-LISTEN:0,bind=127.0.0.1,reuseaddr,fork",
               "TCP:127.0.0.1:" + QString::number(server.port())},
              "socat", "listening on AF=2 127\\.0\\.0\\.1:(\\d+)", QProcess::StandardError);
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

    platform::MsgBoxRecorder boxes;
    platform::TcpConnection connection;
    int asked = 0;
    int beforeConnect = 0;
    std::vector<OutgoingMessage> undelivered;
    SmtpMailer mailer{{[this]() -> platform::TcpConnection& { return ++asked, connection; },
                       [this] { ++beforeConnect; },
                       [this](const auto& message) { undelivered.push_back(message); }}};
    QTemporaryDir dir;
    TestLimits limits;
    std::deque<TestPeer> peers;
};

} // namespace

TEST(SmtpDateText, UsesTheLocalesNamesAndSeparatorsWith24HourTime) {
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    EXPECT_EQ(smtpDateText({{2003, 8, 2}, {16, 5, 9}}, finnish),
              finnish.dayName(6, QLocale::ShortFormat) + ",02." +
                  finnish.monthName(8, QLocale::ShortFormat) + ".2003 16.05.09-0600");
}

TEST_F(SmtpMailerTest, BlankSenderIsRefusedBeforeAnythingConnects) {
    mailer.SendEmail("127.0.0.1", "", "", "", "to@example.com", "s", "b");
    mailer.SendEmail("127.0.0.1", "Sender", "", "", "to@example.com", "s", "b");
    EXPECT_EQ(boxes.texts(), QStringList({"Trapwell: From Name cannot be blank",
                                          "Trapwell: From Email Address cannot be blank"}));
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

    EXPECT_GOLDEN(clientBytes(), "smtp-dialogue.txt");
    EXPECT_EQ(boxes.texts(), QStringList{composed});
    EXPECT_TRUE(connection.isClosed());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(beforeConnect, 1);
    const QByteArray received = server.output();
    EXPECT_TRUE(received.contains("SUBJECT:  Error report\nX-Peer")) << received.data();
    EXPECT_TRUE(received.contains("\n.lead\n.\nmiddle\n.\nlast\n"));
    EXPECT_TRUE(undelivered.empty());
}

TEST_F(SmtpMailerTest, ControlCharactersInValuesCannotInjectCommandsOrHeaders) {
    const platform::SettableClock clock({{2003, 8, 20}, {4, 21, 56}});
    TestPeer& server = start({SMTP_FAULT_SERVER, "accept-all"});
    // NUL, TAB and DEL as well as line breaks: a NUL would cut the header at some servers.
    const QString subject = QString::fromLatin1("Hi\r\n\r\nforged\0\tbody\x7f", 19);
    mailer.SendEmail("127.0.0.1\r\n", "Eve\r\nBcc: x@evil", "a@example.com\r\nDATA",
                     "Bob\nX-Evil: 1", "b@example.com\rRSET", subject, "body");
    EXPECT_EQ(boxes.texts(), QStringList{composed});
    EXPECT_GOLDEN(server.output(10000), "smtp-control-characters.txt");
}

// Proving that no reply comes takes the whole limit: 1 s of real time, the one wait here
// that is not ended by an event. The wait is measured on a monotonic clock: a time of day
// that wraps at midnight during the wait neither ends it early nor makes it endless. Only
// its lower bound is checked.
TEST_F(SmtpMailerTest, SilentServerTimesOutAfterTheLimitEvenAcrossMidnightWithNothingSent) {
    limits.seconds = 1.0;
    TestPeer& server = start({SMTP_FAULT_SERVER, "silent"});
    RunningClock clock({{2003, 8, 20}, {23, 59, 59, 500}});
    platform::Clock::Override nearMidnight(clock);
    QElapsedTimer took;
    took.start();
    send();
    EXPECT_GE(took.elapsed(), 1000);
    EXPECT_EQ(boxes.texts(), QStringList{timedOut});
    connection.Close();
    EXPECT_EQ(server.output(10000), "<closed>");
}

// The mail the server refused is handed on whole, and later goes from the outbox as it was.
TEST_F(SmtpMailerTest, RejectedRecipientStopsWithoutQuitHandsTheMailOnAndTheNextSendCloses) {
    TestPeer& server = start({SMTP_FAULT_SERVER, "reject-rcpt"});
    endWaitsAfter("550");
    send(QStringLiteral("Line one\r\n.dot"));
    EXPECT_EQ(boxes.texts(), QStringList{improper.arg("550 5.1.1 no such user\r\n")});
    EXPECT_FALSE(connection.isClosed());
    ASSERT_EQ(undelivered.size(), 1u);
    OutgoingMessage kept = undelivered.front();
    EXPECT_EQ(kept.kind, OutgoingMessage::Kind::Smtp);
    EXPECT_EQ(kept.target + ' ' + kept.from + ' ' + kept.to,
              "127.0.0.1 sender@example.com to@example.com");
    EXPECT_TRUE(kept.body.startsWith("FROM:  Sender Name\r\nDATE:  "));
    EXPECT_TRUE(kept.body.endsWith("SUBJECT:  Error report\r\n\r\nLine one\r\n..dot\r\n\r\n"));

    const RefusedPort refused;
    limits.serverPort = refused.port();
    send();
    EXPECT_EQ(server.output(10000), "HELO 127.0.0.1\r\nMAIL FROM:  sender@example.com\r\n"
                                    "RCPT TO:  to@example.com\r\n<closed>");

    TestPeer& willing = start({SMTP_FAULT_SERVER, "accept-all"});
    kept.port = willing.port();
    EXPECT_EQ(attemptDelivery(kept).outcome, Attempt::Delivered);
    const QByteArray received = willing.output(5000);
    EXPECT_TRUE(received.contains("MAIL FROM:<sender@example.com>")) << received.constData();
    EXPECT_TRUE(received.contains("RCPT TO:<to@example.com>"));
    EXPECT_TRUE(received.contains("SUBJECT:  Error report\r\n\r\nLine one\r\n..dot\r\n"));
}

TEST_F(SmtpMailerTest, SecondPieceOfTheGreetingIsWhatTheNextWaitTests) {
    TestPeer& server = start({SMTP_FAULT_SERVER, "split-greeting"});
    endWaitsAfter("554");
    send();
    EXPECT_EQ(boxes.texts(), QStringList{improper.arg("554 second piece\r\n")});
    connection.Close();
    EXPECT_EQ(server.output(10000), "HELO 127.0.0.1\r\n<closed>");
}
