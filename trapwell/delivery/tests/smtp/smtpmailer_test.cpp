#include "componentports.h"
#include "core/handlersettings.h"
#include "delivery/outboxworker.h"
#include "delivery/smtpmailer.h"
#include "dialogs/frmerror.h"

#include <trapwell/errhandler.h>

#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/tests/support/fakes.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <memory>
#include <vector>

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
using trapwell::core::HandlerSettings;
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

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Read from the kernel's table, so no probing connection ever reaches the peer.
bool listening(quint16 port) {
    QFile table(QStringLiteral("/proc/net/tcp"));
    const QByteArray entry = QStringLiteral("0100007F:%1 00000000:0000 0A")
                                 .arg(port, 4, 16, QLatin1Char('0'))
                                 .toUpper()
                                 .toLatin1();
    return table.open(QIODevice::ReadOnly) && table.readAll().contains(entry);
}

// A server process on 127.0.0.1 of the test's own; stopping it stops exactly that process.
struct Peer {
    Peer(const QString& program, const QStringList& args, quint16 port) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
        process_.setProcessEnvironment(env);
        process_.start(program, args);
        QDeadlineTimer deadline(10000);
        while (process_.waitForStarted() && !listening(port) && !deadline.hasExpired())
            QThread::msleep(20);
    }
    ~Peer() { output(); }
    // Everything it printed, once it has ended by itself or been stopped.
    QByteArray output(int waitMs = 0) {
        if (!process_.waitForFinished(waitMs) && process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000))
                process_.kill();
            process_.waitForFinished();
        }
        return process_.readAllStandardOutput();
    }
    QProcess process_;
};

// The mailer's port and reply limit for the test: a short wait, and the test's own server.
struct TestLimits final : trapwell::delivery::SmtpLimits {
    quint16 port() const override { return serverPort; }
    double replySeconds() const override { return seconds; }
    quint16 serverPort = 25;
    double seconds = 1.0;
    Override use{*this};
};

// A clock that runs with real time from a fixed instant.
struct RunningClock : platform::Clock {
    explicit RunningClock(QDateTime from) : from_(std::move(from)) { timer_.start(); }
    QDateTime now() const override { return from_.addMSecs(timer_.elapsed()); }
    QDateTime from_;
    QElapsedTimer timer_;
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

    Peer& start(const QString& program, const QStringList& args, quint16 port) {
        return *peers.emplace_back(std::make_unique<Peer>(program, args, port));
    }
    Peer& startFaultServer(const QString& mode) {
        const quint16 port = freePort();
        limits.serverPort = port;
        return start(python, {SMTP_FAULT_SERVER, mode, QString::number(port)}, port);
    }
    // aiosmtpd behind a recorder of the bytes each way; returns the server.
    Peer& startRecordedServer() {
        const quint16 serverPort = freePort();
        const quint16 port = freePort();
        limits.serverPort = port;
        Peer& server = start(
            python, {"-m", "aiosmtpd", "-n", "-l", "127.0.0.1:" + QString::number(serverPort)},
            serverPort);
        start(QStringLiteral("socat"),
              {"-r", dir.filePath("c2s.bin"), "-R", dir.filePath("s2c.bin"),
               QStringLiteral("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr,fork").arg(port),
               "TCP:127.0.0.1:" + QString::number(serverPort)},
              port);
        return server;
    }
    // The client's bytes, once the recorder has them all.
    QByteArray clientBytes() {
        QByteArray bytes;
        for (QDeadlineTimer deadline(5000); !bytes.endsWith("QUIT\r\n") && !deadline.hasExpired();
             QThread::msleep(20)) {
            QFile file(dir.filePath("c2s.bin"));
            bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }
        return bytes;
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
    std::vector<std::unique_ptr<Peer>> peers;
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

TEST_F(SmtpMailerTest, DialogueGoesOutByteForByte) {
    RunningClock clock({{2003, 8, 20}, {4, 21, 56}});
    platform::Clock::Override fixed(clock);
    Peer& server = startRecordedServer();
    send();

    EXPECT_EQ(clientBytes(),
              "HELO 127.0.0.1\r\nMAIL FROM:  sender@example.com\r\nRCPT TO:  to@example.com\r\n"
              "DATA\r\nFROM:  Sender Name\r\nDATE:  Wed,20/Aug/2003 04:21:56-0600\r\n"
              "Error Object Mailer\r\nTO:  Recipient Name\r\nSUBJECT:  Error report\r\n\r\n"
              "Line one\r\nLine two\r\n\r\n.\r\nQUIT\r\n");
    EXPECT_EQ(shown(), QStringList{composed});
    EXPECT_TRUE(connection.isClosed());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(beforeConnect, 1);
    EXPECT_TRUE(server.output().contains("SUBJECT:  Error report\nX-Peer"));
    EXPECT_TRUE(undelivered.empty());
}

TEST_F(SmtpMailerTest, BodyLinesStartingWithADotCannotEndTheMessage) {
    Peer& server = startRecordedServer();
    send(".lead\r\n.\r\nmiddle\n.\rlast", "");
    const QByteArray bytes = clientBytes();
    EXPECT_TRUE(bytes.contains("TO:  to@example.com\r\n")); // a blank name falls back
    EXPECT_TRUE(
        bytes.contains("\r\n\r\n..lead\r\n..\r\nmiddle\r\n..\r\nlast\r\n\r\n.\r\nQUIT\r\n"));
    EXPECT_EQ(shown(), QStringList{composed});
    EXPECT_TRUE(server.output().contains(".lead\n.\nmiddle\n.\nlast\n"));
}

TEST_F(SmtpMailerTest, LineBreaksInValuesCannotInjectCommandsOrHeaders) {
    Peer& server = startFaultServer("accept-all");
    mailer.SendEmail("127.0.0.1\r\n", "Eve\r\nBcc: x@evil", "a@example.com\r\nDATA",
                     "Bob\nX-Evil: 1", "b@example.com\rRSET", "Hi\r\n\r\nforged body", "body");
    EXPECT_EQ(shown(), QStringList{composed});
    const QByteArray received = server.output(5000);
    EXPECT_TRUE(received.startsWith("HELO 127.0.0.1  \r\nMAIL FROM:  a@example.com  DATA\r\n"
                                    "RCPT TO:  b@example.com RSET\r\nDATA\r\n"
                                    "FROM:  Eve  Bcc: x@evil\r\n"));
    EXPECT_TRUE(received.contains("TO:  Bob X-Evil: 1\r\n"
                                  "SUBJECT:  Hi    forged body\r\n\r\nbody\r\n"));
}

TEST_F(SmtpMailerTest, SilentServerTimesOutWithNothingSent) {
    Peer& server = startFaultServer("silent");
    send();
    EXPECT_EQ(shown(), QStringList{timedOut});
    connection.Close();
    EXPECT_EQ(server.output(5000), "<closed>");
}

TEST_F(SmtpMailerTest, UnreachableServerTimesOutAfterTheLimitEvenAcrossMidnight) {
    RunningClock clock({{2003, 8, 20}, {23, 59, 59, 500}});
    platform::Clock::Override nearMidnight(clock);
    limits.serverPort = freePort();
    QElapsedTimer took;
    took.start();
    send();
    EXPECT_GE(took.elapsed(), 1000);
    EXPECT_LT(took.elapsed(), 3000);
    EXPECT_EQ(shown(), QStringList{timedOut});
}

TEST_F(SmtpMailerTest, RejectedRecipientStopsWithoutQuitAndTheNextSendCloses) {
    Peer& server = startFaultServer("reject-rcpt");
    send();
    EXPECT_EQ(shown(), QStringList{improper.arg("550 5.1.1 no such user\r\n")});
    EXPECT_FALSE(connection.isClosed());

    limits.serverPort = freePort();
    send();
    EXPECT_EQ(server.output(5000), "HELO 127.0.0.1\r\nMAIL FROM:  sender@example.com\r\n"
                                   "RCPT TO:  to@example.com\r\n<closed>");
}

TEST_F(SmtpMailerTest, UndeliveredMailIsHandedOnAndGoesLaterAsItWas) {
    startFaultServer("reject-rcpt");
    send(QStringLiteral("Line one\r\n.dot"));
    ASSERT_EQ(undelivered.size(), 1u);
    const trapwell::delivery::OutgoingMessage& kept = undelivered.front();
    EXPECT_EQ(kept.kind, trapwell::delivery::OutgoingMessage::Kind::Smtp);
    EXPECT_EQ(kept.target, "127.0.0.1");
    EXPECT_EQ(kept.from, "sender@example.com");
    EXPECT_EQ(kept.to, "to@example.com");
    EXPECT_TRUE(kept.body.startsWith("FROM:  Sender Name\r\nDATE:  "));
    EXPECT_TRUE(kept.body.endsWith("SUBJECT:  Error report\r\n\r\nLine one\r\n..dot\r\n\r\n"));

    // Later, from the outbox's worker: the same message reaches a willing server.
    Peer& willing = startFaultServer("accept-all");
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
    Peer& server = startFaultServer("split-greeting");
    send();
    EXPECT_EQ(shown(), QStringList{improper.arg("554 second piece\r\n")});
    connection.Close();
    EXPECT_EQ(server.output(5000), "HELO 127.0.0.1\r\n<closed>");
}

// The component's own copy: TransmitMail borrows the error dialog's connection, loading the
// dialog's window unseen, and unloads it afterwards; the next send loads it again.
TEST_F(SmtpMailerTest, TransmitMailBorrowsTheDialogsConnectionForEachSend) {
    startRecordedServer();
    HandlerSettings::write(QStringLiteral("EmailSettings"), QStringLiteral("False"));
    HandlerSettings::write(QStringLiteral("EmailFlag"), QStringLiteral("True"));
    trapwell::ComPtr<trapwell::IclsErrHandler> p;
    ASSERT_EQ(trapwell::createComponentErrHandler(trapwell::IID_clsErrHandler, p.putVoid()),
              trapwell::status::ok);
    trapwell::ErrHandler handler(p);
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
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn")).clear();
}
