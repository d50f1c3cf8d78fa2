#include "handlerfixture.h"

#include "core/componentfolder.h"

#include <QDir>
#include <QFile>

namespace {
QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

TEST_F(HandlerTest, TraceHoldsEachPushedNameOnItsOwnLine) {
    handler.setDestination(temp.path());
    handler.setTraceExecution(true);
    const QString trace = temp.filePath(QStringLiteral("Trace.log"));
    EXPECT_EQ(object().tracePath(), trace);
    handler.Push(QStringLiteral("A"));
    handler.Push(QStringLiteral("B"));
    handler.Pop();
    handler.Push(QStringLiteral("Form1.Größe"));
    EXPECT_EQ(contents(trace),
              QByteArray("A\r\nB\r\n") + QStringLiteral("Form1.Größe").toLocal8Bit() + "\r\n");

    handler.setTraceExecution(false);
    handler.Push(QStringLiteral("C"));
    EXPECT_FALSE(contents(trace).contains("C\r\n"));
}

TEST_F(HandlerTest, SwitchingTracingOnStartsANewTraceEachTime) {
    handler.setDestination(temp.path());
    const QString trace = temp.filePath(QStringLiteral("Trace.log"));
    handler.setTraceExecution(true);
    handler.Push(QStringLiteral("first"));
    handler.setTraceExecution(true);
    EXPECT_FALSE(QFile::exists(trace));
    handler.Push(QStringLiteral("second"));
    EXPECT_EQ(contents(trace), "second\r\n");
}

TEST_F(HandlerTest, TraceStaysWhereItWasStartedWhenDestinationChanges) {
    handler.setDestination(temp.path());
    handler.setTraceExecution(true);
    handler.setDestination(temp.filePath(QStringLiteral("later")));
    handler.Push(QStringLiteral("A"));
    EXPECT_EQ(contents(temp.filePath(QStringLiteral("Trace.log"))), "A\r\n");
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
