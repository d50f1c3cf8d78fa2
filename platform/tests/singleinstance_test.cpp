// Starts of a program that wants to be the only copy, as real processes
// (singleinstance_peer.cpp), in a scope of the test's own.

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
    const QString scope = QUuid::createUuid().toString();
    std::deque<Start> starts; // at the same moment
    for (int i = 0; i < 4; ++i)
        starts.emplace_back(scope);
    QByteArrayList lines;
    for (Start& start : starts)
        lines << start.line();
    ASSERT_EQ(lines.count("owner"), 1);
    EXPECT_EQ(lines.count("handed over"), 3);

    // Killed, the owner leaves its socket behind; the next start listens in its place.
    Start& owner = starts[std::size_t(lines.indexOf("owner"))];
    owner.kill();
    owner.waitForFinished();
    Start next(scope);
    EXPECT_EQ(next.line(), "owner");
    Start later(scope, {"activate", "my words.txt"});
    EXPECT_EQ(later.line(), "handed over");
    EXPECT_TRUE(later.waitForFinished(10000) && later.exitCode() == 0);
    EXPECT_EQ(next.line(), "activate|my words.txt");
}
