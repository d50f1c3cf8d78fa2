// The logs against faults from outside: planted links and FIFOs, a reader beside a writer, a
// write that fails part way, a log that cannot be deleted, and a runaway recursion to report.

#include "handlerfixture.h"

#include "core/logfile.h"

#include <trapwell/comtypes.h>

#include <atomic>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using trapwell::core::LogFile;

// Every name in folder, hidden ones too: what a failed or finished write left there.
static QStringList names(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// Runs f with files limited to bytes, as a full disk limits them: a write past it fails.
template <class F> void withFileSizeLimit(rlim_t bytes, F&& f) {
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit was{};
    ::getrlimit(RLIMIT_FSIZE, &was);
    const rlimit small{bytes, was.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    f();
    ::setrlimit(RLIMIT_FSIZE, &was);
    std::signal(SIGXFSZ, signal);
}

// A log that cannot be written is skipped: the report and the events still come.
TEST_F(HandledErrorTest, NeitherLogFollowsALinkOrOpensAnythingButAFile) {
    const QString victim = temp.filePath("victim.txt");
    ASSERT_TRUE(writeBytes(victim, "the user's own file\n"));
    handler.setTraceExecution(true);
    listen();

    // A planted link is refused like a file that may not be written; its target is untouched.
    ASSERT_TRUE(QFile::link(victim, errorLog()));
    ASSERT_TRUE(QFile::link(victim, temp.filePath("Trace.log")));
    EXPECT_EQ(handler.Push("A"), 75);
    EXPECT_EQ(handler.HandleError("boom", 5), 0); // the log step is skipped
    EXPECT_TRUE(handler.ErrorLogDisplay().contains("Error Description:\tboom"));
    EXPECT_EQ(ports->entries, QStringList({"before", "after"}));
    EXPECT_EQ(fileBytes(victim), "the user's own file\n");
    EXPECT_TRUE(QFileInfo(errorLog()).isSymLink());

    // A FIFO where a log goes would block the host for good; it is refused at once.
    for (const QString& log : {errorLog(), temp.filePath("Trace.log")}) {
        QFile::remove(log);
        ASSERT_EQ(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);
    }
    EXPECT_EQ(handler.Push("B"), 75);
    EXPECT_EQ(handler.HandleError("again", 5), 0);
    EXPECT_EQ(names(temp.path()), QStringList({"Error.log", "Trace.log", "victim.txt"}));
}

// A reader sees either report whole, never a mix; a write that fails part way (a file size
// limit stands for the full disk) keeps the previous report whole. Neither leaves a fragment.
TEST(ErrorLogFile, ReadersSeeEitherReportWholeAndAFailedWriteKeepsThePrevious) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Error.log");
    const QString first(200'000, u'A'), second(50'000, u'B');
    LogFile::rewrite(path, first);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 300; ++i)
            LogFile::rewrite(path, i % 2 ? first : second);
        done = true;
    });
    int reads = 0, torn = 0;
    for (; !done || reads < 10; ++reads) {
        const QByteArray seen = fileBytes(path);
        torn += seen != first.toLatin1() && seen != second.toLatin1();
    }
    writer.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";

    withFileSizeLimit(64 * 1024, [&] {
        EXPECT_EQ(errorOf([&] { LogFile::rewrite(path, second + second); }).number(), 75);
    });
    EXPECT_EQ(fileBytes(path), first.toLatin1());
    EXPECT_EQ(names(dir.path()), QStringList({"Error.log"}));

    // A log that is not there needs no deleting; one that cannot be deleted says why.
    const QByteArray trace = QFile::encodeName(dir.filePath("Trace.log"));
    EXPECT_NO_THROW(LogFile::remove(trace));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("Trace.log/kept")));
    EXPECT_EQ(errorOf([&] { LogFile::remove(trace); }).number(), 75);
}

// A trace line the disk takes only part of is taken back: the trace ends with its last whole
// line, and the Push says why.
TEST_F(HandlerTest, ATraceLineTheDiskTakesOnlyPartOfIsTakenBack) {
    handler.setDestination(temp.path());
    handler.setTraceExecution(true);
    handler.Push(QStringLiteral("Form1.Form_Load"));
    withFileSizeLimit(521, [&] { EXPECT_EQ(handler.Push(QString(1000, u'P')), 75); });
    EXPECT_EQ(fileBytes(temp.filePath(QStringLiteral("Trace.log"))), "Form1.Form_Load\r\n");
}

// The stack lines shown: 1,000 levels whole; beyond, the outermost and innermost 500 and one
// line for the rest, the indent going on from the outer part.
TEST_F(HandledErrorTest, ARunawayRecursionIsReportedByItsEndsAndACount) {
    QByteArray shown;
    for (const auto& [depth, at] :
         {std::pair{1000, QList{0, 999}}, {100'000, {499, 500, 501, 1000}}}) {
        for (int i = 1; i <= depth; ++i)
            handler.Push(QStringLiteral("P%1").arg(i));
        ASSERT_EQ(handler.HandleError("deep", 28), 0);
        const QString report = handler.ErrorLogDisplay();
        const QStringList lines =
            report.mid(report.indexOf("-------------------\r\n") + 21).split("\r\n");
        for (int i : at)
            shown += lines.value(i).toUtf8() + '\n';
    }
    EXPECT_GOLDEN(shown, "deep-stacks.txt");
    EXPECT_EQ(handler.ProcName(), "P100000");
    EXPECT_LT(handler.ErrorLogDisplay().size(), 2'000'000);
}
