#include "core/clserrhandler.h"
#include "delivery/smtpmailer.h"
#include "dialogs/frmerror.h"

#include <trapwell/errhandler.h>

#include "platform/clock.h"
#include "platform/messagebox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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

using platform::MsgBoxCall;

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
using trapwell::delivery::SmtpMailer;

namespace {

const QString python = QStringLiteral("/usr/bin/python3");
const QString timedOut = QStringLiteral("SMTP Service error, Timed out while waiting for response");
const QString improper =
    QStringLiteral("SMTP Service error, Improper response Code, Code Should have been:");

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
class Peer {
public:
    Peer(const QString& program, const QStringList& args, quint16 port) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
        process_.setProcessEnvironment(env);
        process_.start(program, args);
        QDeadlineTimer deadline(10000);
        while (process_.waitForStarted() && !listening(port) && !deadline.hasExpired())
            QThread::msleep(20);
    }
    ~Peer() { stop(); }
    void stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished();
    }
    // Everything it printed, once it has ended by itself or been stopped.
    QByteArray output(int waitMs = 0) {
        if (!process_.waitForFinished(waitMs))
            stop();
        return process_.readAllStandardOutput();
    }

private:
    QProcess process_;
};

// A clock that runs with real time from a fixed instant.
class RunningClock : public platform::Clock {
public:
    explicit RunningClock(QDateTime from) : from_(std::move(from)) { timer_.start(); }
    QDateTime now() const override { return from_.addMSecs(timer_.elapsed()); }

private:
    QDateTime from_;
    QElapsedTimer timer_;
};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SmtpMailerTest : public ::testing::Test {
protected:
    SmtpMailerTest() {
        // Wired as the error dialog's copy is: each arrival replaces the buffer.
        QObject::connect(&connection, &platform::TcpConnection::DataArrival,
                         [this] { mailer.ReplyBuffer = connection.GetData(); });
        SmtpMailer::setTimeLimitForTests(1.0);
        // The date header follows the user's locale; the expected bytes are written for this one.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~SmtpMailerTest() override {
        SmtpMailer::setTimeLimitForTests(50.0);
        SmtpMailer::setPortForTests(25);
        QLocale::setDefault(QLocale::c());
    }

    Peer& startFaultServer(const QString& mode) {
        const quint16 port = freePort();
        SmtpMailer::setPortForTests(port);
        return *peers.emplace_back(std::make_unique<Peer>(
            python, QStringList{SMTP_FAULT_SERVER, mode, QString::number(port)}, port));
    }
    // aiosmtpd behind a recorder of the bytes each way; returns the server.
    Peer& startRecordedServer() {
        const quint16 serverPort = freePort();
        const quint16 port = freePort();
        SmtpMailer::setPortForTests(port);
        Peer& server = *peers.emplace_back(std::make_unique<Peer>(
            python,
            QStringList{"-m", "aiosmtpd", "-n", "-l", "127.0.0.1:" + QString::number(serverPort)},
            serverPort));
        peers.emplace_back(std::make_unique<Peer>(
            QStringLiteral("socat"),
            QStringList{"-r", dir.filePath("c2s.bin"), "-R", dir.filePath("s2c.bin"),
                        QStringLiteral("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr,fork").arg(port),
                        "TCP:127.0.0.1:" + QString::number(serverPort)},
            port));
        return server;
    }
    // The client's bytes, once the recorder has them all.
    QByteArray clientBytes() {
        QDeadlineTimer deadline(5000);
        while (!fileBytes(dir.filePath("c2s.bin")).endsWith("QUIT\r\n") && !deadline.hasExpired())
            QThread::msleep(20);
        return fileBytes(dir.filePath("c2s.bin"));
    }
    void send(const QString& subject = QStringLiteral("Error report"),
              const QString& body = QStringLiteral("Line one\r\nLine two"),
              const QString& toName = QStringLiteral("Recipient Name")) {
        mailer.SendEmail(QStringLiteral("127.0.0.1"), QStringLiteral("Sender Name"),
                         QStringLiteral("sender@example.com"), toName,
                         QStringLiteral("to@example.com"), subject, body);
    }
    QStringList prompts() const {
        QStringList all;
        for (const MsgBoxCall& call : boxes.calls())
            all << call.prompt;
        return all;
    }

    platform::MsgBoxRecorder boxes;
    platform::TcpConnection connection;
    int asked = 0;
    int beforeConnect = 0;
    SmtpMailer mailer{{[this]() -> platform::TcpConnection& {
                           ++asked;
                           return connection;
                       },
                       [this] { ++beforeConnect; }}};
    QTemporaryDir dir;
    std::vector<std::unique_ptr<Peer>> peers;
};

TEST(SmtpDateText, UsesTheLocalesNamesAndSeparatorsWith24HourTime) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(trapwell::delivery::smtpDateText({{2003, 8, 20}, {4, 21, 56}}, english),
              "Wed,20/Aug/2003 04:21:56-0600");
    EXPECT_EQ(trapwell::delivery::smtpDateText({{2003, 8, 2}, {16, 5, 9}}, english),
              "Sat,02/Aug/2003 16:05:09-0600");
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    EXPECT_EQ(trapwell::delivery::smtpDateText({{2003, 8, 20}, {16, 5, 9}}, finnish),
              finnish.dayName(3, QLocale::ShortFormat) + ",20." +
                  finnish.monthName(8, QLocale::ShortFormat) + ".2003 16.05.09-0600");
}

TEST_F(SmtpMailerTest, BlankSenderIsRefusedBeforeAnythingConnects) {
    mailer.SendEmail("127.0.0.1", "", "", "", "to@example.com", "s", "b");
    mailer.SendEmail("127.0.0.1", "Sender", "", "", "to@example.com", "s", "b");
    ASSERT_EQ(boxes.calls().size(), 2);
    EXPECT_EQ(boxes.calls()[0].prompt, "From Name cannot be blank");
    EXPECT_EQ(boxes.calls()[1].prompt, "From Email Address cannot be blank");
    for (const MsgBoxCall& call : boxes.calls()) {
        EXPECT_EQ(call.title, "Trapwell");
        EXPECT_EQ(call.buttons, platform::mb::OKOnly);
    }
    EXPECT_EQ(asked + beforeConnect, 0);
    EXPECT_TRUE(connection.isClosed());
}

TEST_F(SmtpMailerTest, WaitTestsAReplyAlreadyThereAndComparesItsFirstThreeCharacters) {
    mailer.ReplyBuffer = "250 earlier";
    EXPECT_FALSE(mailer.WaitFor("250"));
    EXPECT_TRUE(mailer.ReplyBuffer.isEmpty());

    SmtpMailer::setTimeLimitForTests(0.2);
    mailer.ReplyBuffer = "25";
    EXPECT_TRUE(mailer.WaitFor("250"));
    ASSERT_EQ(prompts(), QStringList{improper + "250CodeRecieved25"});
    EXPECT_EQ(boxes.calls()[0].title, "SMTP Timeout");
    EXPECT_EQ(boxes.calls()[0].buttons, platform::mb::Information);
}

TEST_F(SmtpMailerTest, DialogueGoesOutByteForByte) {
    RunningClock clock({{2003, 8, 20}, {4, 21, 56}});
    platform::Clock::Override fixed(clock);
    Peer& server = startRecordedServer();
    send();

    EXPECT_EQ(clientBytes(), "HELO 127.0.0.1\r\n"
                             "MAIL FROM:  sender@example.com\r\n"
                             "RCPT TO:  to@example.com\r\n"
                             "DATA\r\n"
                             "FROM:  Sender Name\r\n"
                             "DATE:  Wed,20/Aug/2003 04:21:56-0600\r\n"
                             "Error Object Mailer\r\n"
                             "TO:  Recipient Name\r\n"
                             "SUBJECT:  Error report\r\n"
                             "\r\n"
                             "Line one\r\nLine two\r\n"
                             "\r\n"
                             ".\r\n"
                             "QUIT\r\n");
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].prompt, "Composed Error Email in SMTP.");
    EXPECT_EQ(boxes.calls()[0].title, "Operation Successful");
    EXPECT_EQ(boxes.calls()[0].buttons, platform::mb::OKOnly);
    EXPECT_TRUE(connection.isClosed());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(beforeConnect, 1);
    EXPECT_TRUE(server.output().contains("SUBJECT:  Error report\nX-Peer"));
}

TEST_F(SmtpMailerTest, BodyLinesStartingWithADotCannotEndTheMessage) {
    Peer& server = startRecordedServer();
    send("Dots", ".lead\r\n.\r\nmiddle\n.\rlast", "");

    const QByteArray bytes = clientBytes();
    EXPECT_TRUE(bytes.contains("TO:  to@example.com\r\n"));
    EXPECT_TRUE(
        bytes.contains("\r\n\r\n..lead\r\n..\r\nmiddle\r\n..\r\nlast\r\n\r\n.\r\nQUIT\r\n"));
    EXPECT_EQ(prompts(), QStringList{"Composed Error Email in SMTP."});
    EXPECT_TRUE(server.output().contains(".lead\n.\nmiddle\n.\nlast\n"));
}

TEST_F(SmtpMailerTest, LineBreaksInValuesCannotInjectCommandsOrHeaders) {
    Peer& server = startFaultServer("accept-all");
    mailer.SendEmail("127.0.0.1\r\n", "Eve\r\nBcc: x@evil", "a@example.com\r\nDATA",
                     "Bob\nX-Evil: 1", "b@example.com\rRSET", "Hi\r\n\r\nforged body", "body");

    EXPECT_EQ(prompts(), QStringList{"Composed Error Email in SMTP."});
    const QByteArray received = server.output(5000);
    EXPECT_TRUE(received.startsWith("HELO 127.0.0.1  \r\n"
                                    "MAIL FROM:  a@example.com  DATA\r\n"
                                    "RCPT TO:  b@example.com RSET\r\n"
                                    "DATA\r\n"
                                    "FROM:  Eve  Bcc: x@evil\r\n"));
    EXPECT_TRUE(received.contains("TO:  Bob X-Evil: 1\r\n"
                                  "SUBJECT:  Hi    forged body\r\n\r\nbody\r\n"));
}

TEST_F(SmtpMailerTest, SilentServerTimesOutWithNothingSent) {
    Peer& server = startFaultServer("silent");
    send();
    EXPECT_EQ(prompts(), QStringList{timedOut});
    EXPECT_EQ(boxes.calls()[0].title, "SMTP Timeout");
    EXPECT_EQ(boxes.calls()[0].buttons, platform::mb::Information);
    connection.Close();
    EXPECT_EQ(server.output(5000), "<closed>");
}

TEST_F(SmtpMailerTest, UnreachableServerTimesOutAfterTheLimitEvenAcrossMidnight) {
    RunningClock clock({{2003, 8, 20}, {23, 59, 59, 500}});
    platform::Clock::Override nearMidnight(clock);
    SmtpMailer::setPortForTests(freePort());
    QElapsedTimer took;
    took.start();
    send();
    EXPECT_GE(took.elapsed(), 1000);
    EXPECT_LT(took.elapsed(), 3000);
    EXPECT_EQ(prompts(), QStringList{timedOut});
}

TEST_F(SmtpMailerTest, RejectedRecipientStopsWithoutQuitAndTheNextSendCloses) {
    Peer& server = startFaultServer("reject-rcpt");
    send();
    EXPECT_EQ(prompts(), QStringList{improper + "250CodeRecieved550 5.1.1 no such user\r\n"});
    EXPECT_FALSE(connection.isClosed());

    SmtpMailer::setPortForTests(freePort());
    send();
    EXPECT_EQ(server.output(5000), "HELO 127.0.0.1\r\n"
                                   "MAIL FROM:  sender@example.com\r\n"
                                   "RCPT TO:  to@example.com\r\n"
                                   "<closed>");
}

TEST_F(SmtpMailerTest, SecondPieceOfTheGreetingIsWhatTheNextWaitTests) {
    Peer& server = startFaultServer("split-greeting");
    send();
    EXPECT_EQ(prompts(), QStringList{improper + "250CodeRecieved554 second piece\r\n"});
    connection.Close();
    EXPECT_EQ(server.output(5000), "HELO 127.0.0.1\r\n<closed>");
}

} // namespace

// The component's own copy: TransmitMail borrows the error dialog's connection, loading the
// dialog's window unseen, and unloads it afterwards; the next send loads it again.
TEST_F(SmtpMailerTest, TransmitMailBorrowsTheDialogsConnectionForEachSend) {
    startRecordedServer();
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn"));
    settings.setValue(QStringLiteral("ErrHandler/EmailSettings"), QStringLiteral("False"));
    settings.setValue(QStringLiteral("ErrHandler/EmailFlag"), QStringLiteral("True"));
    settings.sync();
    trapwell::ComPtr<trapwell::IclsErrHandler> p;
    ASSERT_EQ(trapwell::core::createClsErrHandler(trapwell::IID_clsErrHandler, p.putVoid()),
              trapwell::status::ok);
    trapwell::ErrHandler handler(p);
    handler.setEmailType(trapwell::aeSMTP);
    handler.setSMTPMailServer(QStringLiteral("127.0.0.1"));
    handler.setFromName(QStringLiteral("Sender Name"));
    handler.setFromEmailAddress(QStringLiteral("sender@example.com"));
    handler.setEmailAddress(QStringLiteral("mailto:to@example.com"));

    handler.TransmitMail(QStringLiteral("first report"));
    EXPECT_FALSE(trapwell::dialogs::frmError::instance().isLoaded());
    handler.TransmitMail(QStringLiteral("second report"));
    EXPECT_FALSE(trapwell::dialogs::frmError::instance().isLoaded());
    EXPECT_EQ(prompts(),
              QStringList({"Composed Error Email in SMTP.", "Composed Error Email in SMTP."}));
    const QByteArray bytes = clientBytes();
    EXPECT_EQ(bytes.count("RCPT TO:  to@example.com\r\n"), 2);
    EXPECT_TRUE(bytes.contains("first report\r\n") && bytes.contains("second report\r\n"));
    settings.clear();
}
