#include "handlerfixture.h"

#include "core/componentfolder.h"

#include "platform/tests/support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest/QTest>

TEST_F(HandlerTest, TraceHoldsEachPushedNameOnItsOwnLine) {
    handler.setDestination(temp.path());
    handler.setTraceExecution(true);
    const QString trace = temp.filePath(QStringLiteral("Trace.log"));
    EXPECT_EQ(object().tracePath(), trace);
    handler.Push(QStringLiteral("A"));
    handler.Push(QStringLiteral("B"));
    handler.Pop();
    handler.Push(QStringLiteral("Form1.Größe"));
    EXPECT_EQ(fileBytes(trace),
              QByteArray("A\r\nB\r\n") + QStringLiteral("Form1.Größe").toLocal8Bit() + "\r\n");

    // Switched on again, it starts a new trace; switched off, it writes nothing.
    handler.setTraceExecution(true);
    EXPECT_FALSE(QFile::exists(trace));
    handler.Push(QStringLiteral("second"));
    handler.setTraceExecution(false);
    handler.Push(QStringLiteral("C"));
    EXPECT_EQ(fileBytes(trace), "second\r\n");
}

TEST_F(HandlerTest, TraceStaysWhereItWasStartedWhenDestinationChanges) {
    handler.setDestination(temp.path());
    handler.setTraceExecution(true);
    handler.setDestination(temp.filePath(QStringLiteral("later")));
    handler.Push(QStringLiteral("A"));
    EXPECT_EQ(fileBytes(temp.filePath(QStringLiteral("Trace.log"))), "A\r\n");
    EXPECT_FALSE(QFile::exists(temp.filePath(QStringLiteral("later/Trace.log"))));
}

TEST_F(HandlerTest, TraceFolderComesFromTheApplicationOrTheComponent) {
    AppInfo app;
    app.Path = temp.path();
    handler.setAppObject(&app);
    handler.setTraceExecution(true);
    EXPECT_EQ(handler.Destination(), temp.path());
    EXPECT_EQ(object().tracePath(), temp.filePath(QStringLiteral("Trace.log")));

    trapwell::ErrHandler bare = create();
    bare.setTraceExecution(true);
    EXPECT_EQ(bare.Destination(), trapwell::core::componentFolder());
    EXPECT_FALSE(bare.Destination().isEmpty());
}

TEST_F(HandlerTest, AnUnwritableTraceMakesPushReportButKeepsTheName) {
    const QString folder = temp.filePath(QStringLiteral("gone"));
    handler.setDestination(folder);
    handler.setTraceExecution(true);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_EQ(handler.Push(QStringLiteral("A")), 76);
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A"}));

    // A folder where the file should be: the file cannot be opened.
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Trace.log")));
    EXPECT_EQ(handler.Push(QStringLiteral("B")), 75);
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A", "B"}));
    EXPECT_EQ(handler.Pop(), 0);
}

TEST_F(HandlerTest, TracingOnWithoutAUsableFolderFailsSilently) {
    QObject noPath; // an application object without a Path member
    handler.setTraceExecution(false);
    trapwell::ComPtr<trapwell::IclsErrHandler> raw =
        trapwell::ComPtr<trapwell::IclsErrHandler>::share(handler.get());
    raw->putref_AppObject(&noPath);  // raises 438 for the title; the reference is kept
    handler.setTraceExecution(true); // must not raise
    EXPECT_TRUE(object().traceExecution());
    EXPECT_TRUE(handler.Destination().isEmpty());
}

namespace {
QStringList traceLines(const QString& path) {
    return QString::fromLocal8Bit(fileBytes(path))
        .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}
} // namespace

TEST_F(HandlerTest, LongTracedRunKeepsTwoGenerationsWithinTheLimit) {
    EXPECT_EQ(handler.TraceLimit(), 8 * 1024 * 1024);
    handler.setDestination(temp.path());
    handler.setTraceLimit(4096);
    handler.setTraceExecution(true);
    const QString trace = temp.filePath(QStringLiteral("Trace.log"));
    const QString older = trace + QStringLiteral(".1");
    // Hours of a 16 ms timer, scaled down to the limit: many times the limit in all.
    const int pushes = 20000;
    for (int i = 0; i < pushes; ++i) {
        handler.Push(QStringLiteral("Form1.Timer1_Timer %1").arg(i));
        handler.Pop();
    }
    EXPECT_LE(QFileInfo(trace).size(), 4096);
    EXPECT_LE(QFileInfo(older).size(), 4096);
    EXPECT_GT(QFileInfo(older).size(), 4096 - 64); // it was full when it was replaced
    // Together they are the end of the trace, in order, with nothing lost between them.
    const QStringList lines = traceLines(older) + traceLines(trace);
    ASSERT_FALSE(lines.isEmpty());
    for (qsizetype k = 0; k < lines.size(); ++k)
        ASSERT_EQ(lines[k], QStringLiteral("Form1.Timer1_Timer %1").arg(pushes - lines.size() + k))
            << k;

    // Switching tracing on again starts afresh, older generation included.
    handler.setTraceExecution(true);
    EXPECT_FALSE(QFile::exists(trace));
    EXPECT_FALSE(QFile::exists(older));
}

TEST_F(HandlerTest, TraceWithoutLimitGrowsInOneFile) {
    handler.setDestination(temp.path());
    handler.setTraceLimit(0);
    handler.setTraceExecution(true);
    for (int i = 0; i < 2000; ++i)
        handler.Push(QStringLiteral("Größe.Form_Load"));
    const QString trace = temp.filePath(QStringLiteral("Trace.log"));
    EXPECT_EQ(traceLines(trace).size(), 2000);
    EXPECT_FALSE(QFile::exists(trace + QStringLiteral(".1")));
    EXPECT_EQ(errorOf([&] { handler.setTraceLimit(-1); }).number(), 380);
}

// Lines held back in memory reach the files with the bytes and order they get when written at
// once: across the change to Trace.log.1, and between handlers sharing the file.
TEST_F(HandlerTest, TraceHeldInMemoryEndsUpWithTheSameBytes) {
    const auto trace = [](const QString& folder) {
        return fileBytes(folder + QStringLiteral("/Trace.log.1")) + '|' +
               fileBytes(folder + QStringLiteral("/Trace.log"));
    };
    const auto run = [&](const QString& folder, int holdMs) {
        EXPECT_TRUE(QDir().mkpath(folder));
        trapwell::ErrHandler traced = create();
        traced.setDestination(folder);
        traced.setTraceLimit(1000);
        traced.setTraceFlushInterval(holdMs);
        traced.setTraceExecution(true);
        trapwell::ErrHandler other = create(); // writes at once into the same file
        other.setDestination(folder);
        other.setTraceExecution(true);
        for (int i = 0; i < 150; ++i) {
            traced.Push(QStringLiteral("Form1.Größe %1").arg(i));
            traced.Pop();
            if (i % 40 == 0)
                other.Push(QStringLiteral("Other %1").arg(i));
        }
        traced.Push(QStringLiteral("Last"));
        const QByteArray beforeError = trace(folder);
        traced.HandleError(QStringLiteral("Overflow"), 6, 10);
        return std::pair(beforeError, trace(folder));
    };
    const auto [atOnce, atOnceAfterError] = run(temp.filePath(QStringLiteral("at-once")), 0);
    const auto [held, heldAfterError] = run(temp.filePath(QStringLiteral("held")), 3600000);
    EXPECT_TRUE(atOnce.endsWith("Last\r\n"));
    EXPECT_FALSE(held.endsWith("Last\r\n")); // held until the error
    EXPECT_TRUE(atOnce.startsWith(QStringLiteral("Form1.Größe ").toLocal8Bit())); // rotated
    EXPECT_EQ(heldAfterError, atOnceAfterError);

    // A host that goes quiet still gets its lines.
    handler.setDestination(temp.path());
    handler.setTraceFlushInterval(20);
    handler.setTraceExecution(true);
    handler.Push(QStringLiteral("Quiet"));
    EXPECT_EQ(fileBytes(temp.filePath(QStringLiteral("Trace.log"))), "<missing>");
    QTRY_COMPARE(fileBytes(temp.filePath(QStringLiteral("Trace.log"))), QByteArray("Quiet\r\n"));
    EXPECT_EQ(errorOf([&] { handler.setTraceFlushInterval(-1); }).number(), 380);
}
