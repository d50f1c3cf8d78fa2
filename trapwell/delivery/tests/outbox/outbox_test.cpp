#include "delivery/outbox.h"
#include "delivery/outboxworker.h"

#include "platform/tests/support/fakes.h"
#include "platform/tests/support/loopbackhttp.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <sys/stat.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>
#include <tuple>

using namespace trapwell::delivery;
using namespace std::chrono_literals;

namespace {

const QDateTime now(QDate(2026, 5, 1), QTime(12, 0));

OutgoingMessage get(const QByteArray& url) {
    OutgoingMessage m;
    m.target = url;
    return m;
}

OutgoingMessage post(const QByteArray& url, const QByteArray& body) {
    OutgoingMessage m = get(url);
    m.kind = OutgoingMessage::Kind::HttpPost;
    m.headers = {"Content-Type: application/json"};
    m.body = body;
    return m;
}

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

// Retries every few milliseconds instead of every few minutes.
class QuickSchedule final : public OutboxSchedule {
public:
    std::chrono::milliseconds firstRetry() const override { return 20ms; }
    std::chrono::milliseconds longestWait() const override { return 100ms; }

private:
    Override use_{*this};
};

// Waits for done: the worker's thread needs a moment, never half a minute.
bool eventually(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 30000);
}

class OutboxTest : public testing::Test {
protected:
    QTemporaryDir dir;
    Outbox outbox{dir.filePath(QStringLiteral("state/trapwell/outbox"))};
};

class WorkerTest : public OutboxTest {
protected:
    // Stops the worker while the server goes on answering, so a request in flight ends.
    void stopWorker() {
        std::atomic<bool> stopped{false};
        std::thread stopping([&] {
            worker.reset();
            stopped = true;
        });
        EXPECT_TRUE(eventually([&] { return stopped.load(); }));
        stopping.join();
    }
    void TearDown() override { stopWorker(); }

    QuickSchedule schedule;
    platform::LoopbackHttp server;
    std::optional<platform::SettableClock> clock; // for the cases that set it
    // Stopped first, before the schedule, server and clock it uses.
    std::shared_ptr<OutboxWorker> worker = std::make_shared<OutboxWorker>(outbox);
};

} // namespace

TEST_F(OutboxTest, KeepsEachReportPrivatelyAndReadsItBackExactly) {
    OutgoingMessage mail = get("mail.example.org");
    mail.kind = OutgoingMessage::Kind::Smtp;
    mail.port = 2525;
    mail.from = "app@example.org";
    mail.to = "help@example.org";
    mail.body = "FROM:  App\r\nSUBJECT:  x\r\n\r\nline\r\n\r\n..dot\r\n\n\nbinary \x01\r\n";
    const QString path = outbox.store(mail, now);
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(modeOf(path), 0600);
    EXPECT_EQ(modeOf(outbox.folder()), 0700);
    EXPECT_EQ(outbox.pending(), QStringList{path}); // no temporary file left beside it

    const std::optional<OutgoingMessage> back = Outbox::read(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(std::tie(back->kind, back->target, back->port, back->from, back->to, back->body),
              std::tie(mail.kind, mail.target, mail.port, mail.from, mail.to, mail.body));
    // A POST's headers come back too: the worker's tests deliver one from here.
}

TEST_F(OutboxTest, DropsTheOldestBeyondThirtyReportsOneMegabyteOrThirtyDays) {
    for (int i = 0; i < 35; ++i)
        outbox.store(get("http://h/" + QByteArray::number(i)), now.addSecs(i));
    QStringList kept = outbox.pending();
    ASSERT_EQ(kept.size(), 30);
    EXPECT_EQ(Outbox::read(kept.first())->target, "http://h/5");
    EXPECT_EQ(Outbox::read(kept.last())->target, "http://h/34");

    // Three large reports: the first two no longer fit beside the newest ones.
    for (int i = 0; i < 3; ++i)
        outbox.store(post("http://h/big", QByteArray(400 * 1024, 'x')), now.addSecs(100 + i));
    kept = outbox.pending();
    qint64 total = 0;
    for (const QString& p : kept)
        total += QFileInfo(p).size();
    EXPECT_LE(total, 1024 * 1024);
    EXPECT_EQ(Outbox::read(kept.last())->body.size(), 400 * 1024);

    // A month later everything before it is gone.
    outbox.store(get("http://h/late"), now.addDays(31));
    kept = outbox.pending();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(Outbox::read(kept.first())->target, "http://h/late");
}

TEST_F(WorkerTest, ReportKeptWhileTheServerIsDownArrivesOnceWhenItComesUp) {
    ASSERT_TRUE(server.listen());
    const quint16 port = server.port();
    const QByteArray report = server.url("/report?ErrDetail=x&");
    const QByteArray collector = server.url("/collector");
    server.close(); // the network is down: connections are refused

    worker->setRetrying(true);
    worker->keep(get(report));
    worker->send(post(collector, "{\"event\":1}"), true);
    ASSERT_TRUE(eventually([&] { return outbox.pending().size() == 2; }));

    ASSERT_TRUE(server.listen(port));
    ASSERT_TRUE(eventually([&] { return outbox.pending().isEmpty(); }));
    // Whatever the worker does next comes after this marker.
    worker->send(get(server.url("/marker")), false);
    ASSERT_TRUE(eventually(
        [&] { return !server.requests.isEmpty() && server.requests.last().target == "/marker"; }));
    ASSERT_EQ(server.requests.size(), 3);
    QMap<QByteArray, platform::LoopbackHttp::Request> byTarget;
    for (const auto& r : server.requests)
        byTarget[r.target] = r;
    EXPECT_EQ(byTarget["/report?ErrDetail=x&"].method, "GET");
    EXPECT_EQ(byTarget["/collector"].method, "POST");
    EXPECT_EQ(byTarget["/collector"].body, "{\"event\":1}");
    EXPECT_EQ(byTarget["/collector"].headers["content-type"], "application/json");
}

TEST_F(WorkerTest, RetryAfterHoldsBackTheNextSendsUntilItHasPassed) {
    ASSERT_TRUE(server.listen());
    server.script({429, {"Retry-After: 3600"}, "slow down"});
    worker->send(post(server.url("/c"), "first"), true);
    ASSERT_TRUE(eventually([&] { return outbox.pending().size() == 1; }));
    EXPECT_EQ(server.requests.size(), 1);
    EXPECT_GT(worker->rateLimitLeft().count(), 3500);

    // Held back without asking the server, and kept.
    worker->send(post(server.url("/c"), "second"), true);
    ASSERT_TRUE(eventually([&] { return outbox.pending().size() == 2; }));
    EXPECT_EQ(server.requests.size(), 1);
    // A report to another kind of receiver is not held back.
    worker->send(get(server.url("/page")), false);
    ASSERT_TRUE(eventually([&] { return server.requests.size() == 2; }));
}

TEST_F(WorkerTest, ShortRetryAfterDelaysTheReportThenItIsDelivered) {
    ASSERT_TRUE(server.listen());
    server.script({429, {"Retry-After: 1"}, ""});
    worker->setRetrying(true);
    worker->send(post(server.url("/c"), "report"), true);
    ASSERT_TRUE(eventually([&] { return server.requests.size() == 2; }));
    ASSERT_TRUE(eventually([&] { return outbox.pending().isEmpty(); }));
    EXPECT_EQ(server.requests[1].body, "report");
    // A server that will never take it: dropped, not retried for ever.
    server.script({400, {}, "bad"});
    worker->keep(post(server.url("/c"), "malformed"));
    ASSERT_TRUE(eventually([&] { return server.requests.size() == 3; }));
    ASSERT_TRUE(eventually([&] { return outbox.pending().isEmpty(); }));
}

// The collector's Retry-After outlives the program: after a restart the report waits for it
// while others go, and a new answer moves it on; once its time has come it goes.
TEST_F(WorkerTest, RetryAfterIsKeptWithTheReportAndHonouredAfterARestart) {
    clock.emplace(now);
    // A new worker, once the old one has stopped, the clock moved on by seconds meanwhile.
    const auto restart = [&](int seconds) {
        stopWorker();
        clock->advance(seconds);
        worker = std::make_shared<OutboxWorker>(outbox);
        worker->setRetrying(true);
    };
    ASSERT_TRUE(server.listen());
    server.script({429, {"Retry-After: 20"}, ""});
    worker->send(post(server.url("/c"), "report"), true);
    ASSERT_TRUE(eventually([&] { return outbox.pending().size() == 1; }));
    // Kept after the report, so the pass that sends it has passed the report by.
    outbox.store(get(server.url("/marker")), QDateTime::currentDateTime().addSecs(1));
    restart(0);
    ASSERT_TRUE(eventually([&] { return server.requests.size() == 2; }));
    EXPECT_EQ(server.requests[1].target, "/marker");

    server.script({429, {"Retry-After: 20"}, ""});
    restart(20);
    ASSERT_TRUE(eventually([&] { return server.requests.size() == 3; }));
    ASSERT_TRUE(eventually([&] {
        return Outbox::read(outbox.pending().value(0)).value_or(OutgoingMessage()).notBefore >
               clock->now().addSecs(19);
    }));
    restart(20);
    ASSERT_TRUE(eventually([&] { return outbox.pending().isEmpty(); }));
    EXPECT_EQ(server.requests.last().body, "report");
}

TEST_F(WorkerTest, EndingWhileAReceiverStaysSilentKeepsTheReportInsteadOfWaiting) {
    // Requests may take an hour: only cancelling can end one early.
    const platform::TestHttpLimits patient(std::chrono::hours(1));
    QTcpServer silent; // takes the connection and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QTcpSocket* connection = nullptr;
    QObject::connect(&silent, &QTcpServer::newConnection,
                     [&] { connection = silent.nextPendingConnection(); });
    worker->send(post("http://127.0.0.1:" + QByteArray::number(silent.serverPort()) + "/x", "{}"),
                 true);
    ASSERT_TRUE(eventually([&] { return connection && connection->bytesAvailable() > 0; }));

    stopWorker();
    EXPECT_EQ(outbox.pending().size(), 1);
}
