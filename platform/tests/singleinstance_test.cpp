// Starts of a program that wants to be the only copy, as real processes
// (singleinstance_peer.cpp), in a runtime folder of the test's own.

#include "platform/singleinstance.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <deque>

namespace {

struct Start : QProcess {
    explicit Start(const QString& scope, const QStringList& message = {"activate"}) {
        start(QStringLiteral(SINGLEINSTANCE_PEER), QStringList(scope) + message);
    }
    // The next line it prints, waiting up to 10 s for it.
    QByteArray line() {
        while (!canReadLine() && waitForReadyRead(10000))
            continue;
        return readLine().trimmed();
    }
};

} // namespace

TEST(SingleInstance, OneStartOwnsTheOthersHandTheirMessageOverAndAStaleSocketIsTakenOver) {
    QTemporaryDir runtime; // killed owners leave their sockets
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    // Starts at the same moment, in rounds: their claims seldom overlap.
    std::deque<Start> starts;
    for (int round = 0; round < 30; ++round) {
        starts.clear(); // killed
        QByteArrayList lines;
        for (int i = 0; i < 4; ++i)
            starts.emplace_back(QString::number(round));
        for (Start& start : starts)
            lines << start.line();
        ASSERT_EQ(lines.count("owner"), 1) << round;
    }

    // Killed, an owner leaves its socket behind; the next start listens in its place.
    Start next(QStringLiteral("0"));
    EXPECT_EQ(next.line(), "owner");
    Start later(QStringLiteral("0"), {"activate", "my words.txt"});
    EXPECT_EQ(later.line(), "handed over");
    EXPECT_EQ(next.line(), "activate|my words.txt");
}
