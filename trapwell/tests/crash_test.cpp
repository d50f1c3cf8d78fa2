// A host that crashes with crash capture on, or that a session's end signal ends, in a child
// process, and the next run of a host that reports what it left: the signal, the stack,
// through the normal report path.

#include "platform/tests/support/files.h"

#include <trapwell/errhandler.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <optional>
#include <tuple>

namespace {

const QByteArray heldLines =
    "Form1.Form_Load\r\nModule.Übersetzen\r\nModule.Divide\r\nModule.Read\r\n";

class CrashTest : public testing::Test {
protected:
    QString stateFolder() const {
        return qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/trapwell");
    }
    QStringList crashFiles() const {
        return QDir(stateFolder()).entryList({QStringLiteral("crash-*.txt")}, QDir::Files);
    }
    // Runs the host example until it crashes the given way, or until signal (sent once it is
    // ready) ends it; the signal that ended it, 0 when it ended by itself.
    int crashHost(const char* how, const QString& traceFolder = {}, int signal = 0) {
        QProcess host;
        // In a sanitized build the address sanitizer would take the fault for its own report;
        // the component's handler is what is under test.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), asan.isEmpty()
                                                       ? QStringLiteral("handle_segv=0")
                                                       : asan + QStringLiteral(":handle_segv=0"));
        host.setProcessEnvironment(env);
        QStringList arguments{QStringLiteral("crash"), QString::fromLatin1(how)};
        if (!traceFolder.isEmpty())
            arguments << traceFolder;
        host.start(QStringLiteral(HOST_EXAMPLE), arguments);
        if (signal && host.waitForReadyRead(60000))
            ::kill(pid_t(host.processId()), signal);
        EXPECT_TRUE(host.waitForFinished(60000));
        EXPECT_TRUE(host.exitStatus() == QProcess::CrashExit || signal)
            << host.readAllStandardError().constData();
        return host.exitStatus() == QProcess::CrashExit ? host.exitCode() : 0;
    }
    void TearDown() override {
        for (const QString& file : crashFiles())
            QFile::remove(QDir(stateFolder()).filePath(file));
    }
    trapwell::ErrHandler handler = trapwell::ErrHandler::create();
};

} // namespace

TEST_F(CrashTest, SegmentationFaultIsRecordedAndTheSystemStillEndsTheProcess) {
    QTemporaryDir traceFolder; // the host holds its trace lines in memory
    EXPECT_EQ(crashHost("segv", traceFolder.path()), SIGSEGV);
    EXPECT_EQ(fileBytes(traceFolder.filePath(QStringLiteral("Trace.log"))), heldLines);
    const QString text = handler.PendingCrash();
    EXPECT_EQ(text, "Signal 11 SIGSEGV\nForm1.Form_Load\nModule.Übersetzen\nModule.Read\n");
    EXPECT_EQ(handler.PendingCrash(), ""); // reported once
    EXPECT_TRUE(crashFiles().isEmpty());

    // A stack overflow too, on a thread whose handler took the capture over.
    EXPECT_EQ(crashHost("overflow"), SIGSEGV);
    EXPECT_EQ(handler.PendingCrash(), "Signal 11 SIGSEGV\nWorker.Run\n");
}

// Logging out, closing the terminal or Ctrl+C: the held lines reach the trace, and then the
// signal still ends the host, or the host's own handler ends it in order, writing none twice.
TEST_F(CrashTest, SessionEndWritesTheHeldTraceLinesAndTheSignalTakesItsCourse) {
    for (const auto& [how, signal, ended] : {std::tuple{"wait", SIGTERM, SIGTERM},
                                             {"wait", SIGINT, SIGINT},
                                             {"wait", SIGHUP, SIGHUP},
                                             {"chained", SIGTERM, 0}}) {
        QTemporaryDir traceFolder;
        EXPECT_EQ(crashHost(how, traceFolder.path(), signal), ended) << how << ' ' << signal;
        EXPECT_EQ(fileBytes(traceFolder.filePath(QStringLiteral("Trace.log"))), heldLines)
            << how << ' ' << signal;
    }
}

// The normal path: the stack pushed and HandleError called, so the report reaches every
// destination an ordinary error's does (the collector's: collector_test.cpp).
TEST_F(CrashTest, NextRunReportsTheCrashWithItsStackThroughTheNormalPath) {
    EXPECT_EQ(crashHost("abort"), SIGABRT);

    QTemporaryDir dir;
    handler.setDestination(dir.path());
    handler.setUseInterface(false);
    ASSERT_TRUE(handler.reportPendingCrash());
    EXPECT_FALSE(handler.reportPendingCrash());

    const QString report = handler.ErrorLogDisplay();
    EXPECT_TRUE(report.contains("Error Number:\t134\r\n")) << report.toStdString();
    EXPECT_TRUE(report.contains("Error Procedure:\tModule.Read\r\n"));
    EXPECT_TRUE(report.contains("SIGABRT (signal 6)"));
    EXPECT_TRUE(report.contains("01  Form1.Form_Load\r\n02    Module.Übersetzen\r\n"
                                "03      Module.Read\r\n"));
    EXPECT_EQ(handler.CallStack(), QStringList({{}})); // emptied as after any report
}

TEST_F(CrashTest, CaptureOffLeavesNoFileAndTheHandlersOfTheHostInPlace) {
    struct sigaction before {};
    ::sigaction(SIGSEGV, nullptr, &before);
    handler.setCrashCapture(true);
    EXPECT_TRUE(handler.CrashCapture());
    EXPECT_EQ(crashFiles().size(), 1);
    handler.Push(QStringLiteral("Running"));
    handler.setCrashCapture(false);
    EXPECT_FALSE(handler.CrashCapture());
    EXPECT_TRUE(crashFiles().isEmpty());
    struct sigaction after {};
    ::sigaction(SIGSEGV, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    EXPECT_EQ(handler.PendingCrash(), "");

    // A second handler that takes over: the first one's going does not disarm it.
    std::optional<trapwell::ErrHandler> first = trapwell::ErrHandler::create();
    first->setCrashCapture(true);
    trapwell::ErrHandler second = trapwell::ErrHandler::create();
    second.setCrashCapture(true);
    EXPECT_FALSE(first->CrashCapture());
    EXPECT_TRUE(second.CrashCapture());
    first.reset();
    EXPECT_TRUE(second.CrashCapture());
    EXPECT_EQ(crashFiles().size(), 1);
    second.setCrashCapture(false);
}
