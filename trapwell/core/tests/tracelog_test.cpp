#include "handlerfixture.h"

#include "core/componentfolder.h"

#include <QtTest/QTest>

class TraceTest : public HandlerTest {
protected:
    void SetUp() override { handler.setDestination(temp.path()); }
    static QStringList lines(const QString& path) {
        return QString::fromLocal8Bit(fileBytes(path)).split("\r\n", Qt::SkipEmptyParts);
    }
    const QString trace = temp.filePath("Trace.log");
    const QString older = trace + ".1";
};

// The bytes each line gets: in the crash test (a host's held lines written at its crash) and
// against lines written at once in the last case here.
TEST_F(TraceTest, EachStartBeginsANewTraceThatStaysWhereItWasStarted) {
    handler.setTraceExecution(true);
    handler.Push("first");
    EXPECT_EQ(fileBytes(trace), "first\r\n");

    // Switched on again, it starts a new trace, which stays where it was started.
    handler.setTraceExecution(true);
    EXPECT_FALSE(QFile::exists(trace));
    handler.setDestination(temp.filePath("later"));
    handler.Push("second");
    EXPECT_EQ(fileBytes(trace), "second\r\n");
    EXPECT_FALSE(QFile::exists(temp.filePath("later/Trace.log")));

    // Once that folder is gone, each Push reports it but keeps its name; switched off, the
    // trace is not written at all.
    ASSERT_TRUE(QDir(temp.path()).removeRecursively());
    EXPECT_EQ(handler.Push("gone"), 76);
    EXPECT_EQ(handler.CallStack().last(), "gone");
    handler.setTraceExecution(false);
    EXPECT_EQ(handler.Push("C"), 0);
}

// Without a destination, the trace goes to the application's folder, else the component's.
// An application object without a Path leaves tracing on without a file, which each Push then
// reports.
TEST_F(HandlerTest, TraceFolderComesFromTheApplicationOrTheComponent) {
    QObject noPath;
    errorOf([&] { handler.setAppObject(&noPath); }); // 438 for the title; the reference is kept
    handler.setTraceExecution(true);                 // must not raise
    EXPECT_TRUE(handler.Destination().isEmpty());
    EXPECT_EQ(handler.Push("A"), 52);

    AppInfo app(temp.path());
    handler.setAppObject(&app);
    handler.setTraceExecution(true);
    EXPECT_EQ(handler.Destination(), temp.path());
    handler.Push("A");
    EXPECT_EQ(fileBytes(temp.filePath("Trace.log")), "A\r\n");

    trapwell::ErrHandler bare = create();
    bare.setTraceExecution(true);
    EXPECT_EQ(bare.Destination(), trapwell::core::componentFolder());
    EXPECT_FALSE(bare.Destination().isEmpty());
}

TEST_F(TraceTest, LongTracedRunKeepsTwoGenerationsWithinTheLimit) {
    handler.setTraceLimit(4096);
    handler.setTraceExecution(true);
    // Hours of a 16 ms timer, scaled down to the limit: many times the limit in all.
    const int pushes = 20000;
    const auto push = [&](int i) {
        return handler.Push(QStringLiteral("Form1.Timer1_Timer %1").arg(i));
    };
    for (int i = 0; i < pushes; ++i) {
        push(i);
        handler.Pop();
    }
    EXPECT_LE(QFileInfo(trace).size(), 4096);
    EXPECT_LE(QFileInfo(older).size(), 4096);
    EXPECT_GT(QFileInfo(older).size(), 4096 - 64); // it was full when it was replaced
    // Together they are the end of the trace, in order, with nothing lost between them.
    const QStringList all = lines(older) + lines(trace);
    ASSERT_FALSE(all.isEmpty());
    for (qsizetype k = 0; k < all.size(); ++k)
        ASSERT_EQ(all[k], QStringLiteral("Form1.Timer1_Timer %1").arg(pushes - all.size() + k))
            << k;

    // Switching tracing on again starts afresh, older generation included.
    handler.setTraceExecution(true);
    EXPECT_FALSE(QFile::exists(trace));
    EXPECT_FALSE(QFile::exists(older));

    // Should Trace.log.1 not be replaceable, the full file is dropped and the trace goes on.
    ASSERT_TRUE(QDir().mkpath(older + "/in-the-way"));
    for (int i = 0; i < 400; ++i)
        ASSERT_EQ(push(i), 0) << i;
    EXPECT_LE(QFileInfo(trace).size(), 4096);
    EXPECT_EQ(lines(trace).last(), "Form1.Timer1_Timer 399");

    // Without a limit, it grows in one file.
    handler.setTraceLimit(0);
    handler.setTraceExecution(true);
    for (int i = 0; i < 2000; ++i)
        handler.Push("Größe.Form_Load");
    EXPECT_EQ(lines(trace).size(), 2000);
}

// Lines held back in memory reach the files with the bytes and order they get when written at
// once: across the change to Trace.log.1, and between handlers sharing the file.
TEST_F(TraceTest, TraceHeldInMemoryEndsUpWithTheSameBytes) {
    const auto both = [](const QString& folder) {
        return fileBytes(folder + "/Trace.log.1") + '|' + fileBytes(folder + "/Trace.log");
    };
    const auto run = [&](const QString& folder, int holdMs) {
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
        traced.Push("Last");
        const QByteArray beforeError = both(folder);
        traced.HandleError("Overflow", 6, 10);
        return std::pair(beforeError, both(folder));
    };
    const auto [atOnce, atOnceAfterError] = run(temp.filePath("at-once"), 0);
    const auto [held, heldAfterError] = run(temp.filePath("held"), 3600000);
    EXPECT_TRUE(atOnce.endsWith("Last\r\n"));
    EXPECT_FALSE(held.endsWith("Last\r\n")); // held until the error
    EXPECT_TRUE(atOnce.startsWith(QStringLiteral("Form1.Größe ").toLocal8Bit())); // rotated
    EXPECT_EQ(heldAfterError, atOnceAfterError);

    // A host that goes quiet still gets its lines.
    handler.setTraceFlushInterval(20);
    handler.setTraceExecution(true);
    handler.Push("Quiet");
    EXPECT_EQ(fileBytes(trace), "<missing>");
    EXPECT_TRUE(QTest::qWaitFor([&] { return fileBytes(trace) == "Quiet\r\n"; }, 30000))
        << fileBytes(trace).data();
}
