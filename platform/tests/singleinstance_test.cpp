// Starts of a program that wants to be the only copy, as real processes
// (singleinstance_peer.cpp), in scopes of the test's own.

#include "platform/singleinstance.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QUuid>

#include <deque>

namespace {

struct Start : QProcess {
    explicit Start(const QString& scope, const QStringList& message = {"activate"}) {
        start(QStringLiteral(SINGLEINSTANCE_PEER), QStringList(scope) + message);
    }
    // The next line it prints, waiting up to 10 s for it.
    QByteArray line() {
        while (!canReadLine() && waitForReadyRead(10000)) {
        }
        return readLine().trimmed();
    }
};

} // namespace

TEST(SingleInstance, OneStartOwnsTheOthersHandTheirMessageOverAndAStaleSocketIsTakenOver) {
    // Starts at the same moment, in rounds: their claims seldom overlap.
    QString scope;
    std::deque<Start> starts;
    QByteArrayList lines;
    for (int round = 0; round < 30; ++round) {
        scope = QUuid::createUuid().toString();
        starts.clear(); // killed
        lines.clear();
        for (int i = 0; i < 4; ++i)
            starts.emplace_back(scope);
        for (Start& start : starts)
            lines << start.line();
        ASSERT_EQ(lines.count("owner"), 1) << round;
        ASSERT_EQ(lines.count("handed over"), 3) << round;
    }

    // Killed, the owner leaves its socket behind; the next start listens in its place.
    starts.clear();
    Start next(scope);
    EXPECT_EQ(next.line(), "owner");
    Start later(scope, {"activate", "my words.txt"});
    EXPECT_EQ(later.line(), "handed over");
    EXPECT_TRUE(later.waitForFinished(10000) && later.exitCode() == 0);
    EXPECT_EQ(next.line(), "activate|my words.txt");
}
