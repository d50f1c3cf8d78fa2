// The logs against faults from outside: planted links and FIFOs, a reader beside a writer,
// a full disk, and a runaway recursion to report.

#include "handlerfixture.h"

#include "core/logfile.h"

#include "platform/tests/support/files.h"

#include <atomic>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using trapwell::core::LogFile;

namespace {

// Names in folder other than the given ones: what a failed or finished write left behind.
QStringList leftovers(const QString& folder, const QStringList& expected) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    for (const QString& name : expected)
        names.removeAll(name);
    return names;
}

} // namespace

// A log that cannot be written is skipped: the report and the events still come.
TEST_F(HandlerTest, NeitherLogFollowsALinkOrOpensAnythingButAFile) {
    const QString victim = temp.filePath(QStringLiteral("victim.txt"));
    ASSERT_TRUE(writeBytes(victim, "the user's own file\n"));
    handler.setDestination(temp.path());
    handler.setUseInterface(false);
    handler.setTraceExecution(true);
    listen();

    // A planted link is refused like a file that may not be written; its target is untouched.
    ASSERT_TRUE(QFile::link(victim, temp.filePath(QStringLiteral("Error.log"))));
    ASSERT_TRUE(QFile::link(victim, temp.filePath(QStringLiteral("Trace.log"))));
    EXPECT_EQ(handler.Push(QStringLiteral("A")), 75);
    EXPECT_EQ(handler.HandleError(QStringLiteral("boom"), 5), 0); // the log step is skipped
    EXPECT_TRUE(handler.ErrorLogDisplay().contains("Error Description:\tboom"));
    EXPECT_EQ(journal.entries, QStringList({"before", "after"}));
    EXPECT_EQ(fileBytes(victim), "the user's own file\n");
    EXPECT_TRUE(QFileInfo(temp.filePath(QStringLiteral("Error.log"))).isSymLink());

    // A FIFO where a log goes would block the host for good; it is refused at once.
    for (const char* name : {"Error.log", "Trace.log"}) {
        QFile::remove(temp.filePath(QString::fromLatin1(name)));
        ASSERT_EQ(
            ::mkfifo(QFile::encodeName(temp.filePath(QString::fromLatin1(name))).constData(), 0600),
            0);
    }
    EXPECT_EQ(handler.Push(QStringLiteral("B")), 75);
    EXPECT_EQ(handler.HandleError(QStringLiteral("again"), 5), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
    EXPECT_EQ(leftovers(temp.path(), {"victim.txt", "Error.log", "Trace.log"}), QStringList());
}

TEST(ErrorLogFile, ReadersSeeEitherReportWholeNeverAMix) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Error.log"));
    const QString first(200'000, u'A'), second(50'000, u'B');
    LogFile::rewrite(path, first);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 300; ++i)
            LogFile::rewrite(path, i % 2 ? first : second);
        done = true;
    });
    int reads = 0, torn = 0;
    while (!done || reads < 10) {
        const QByteArray seen = fileBytes(path);
        ++reads;
        if (seen != first.toLatin1() && seen != second.toLatin1())
            ++torn;
    }
    writer.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_EQ(leftovers(dir.path(), {"Error.log"}), QStringList());
}

// The disk fills up while the new report is written: the previous one stays whole and no
// fragment is left. A small tmpfs in a private mount namespace stands for the full disk.
TEST(ErrorLogFile, AFullDiskKeepsThePreviousReportWhole) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to mount a small tmpfs in a private mount namespace";
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    const QString path = dir.filePath(QStringLiteral("Error.log"));
    const QString previous = QStringLiteral("previous report\r\n");
    const QString next(256 * 1024, u'N');

    // A child of its own, so the mount stays out of this process's view of the file system.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=128k") != 0)
            ::_exit(77);
        int outcome = 0;
        try {
            LogFile::rewrite(path, previous);
            LogFile::rewrite(path, next);
            outcome = 1; // the disk took more than it holds
        } catch (const trapwell::RuntimeError& e) {
            outcome = e.number() == 61 ? 0 : 2;
        }
        if (outcome == 0 && fileBytes(path) != previous.toLatin1())
            outcome = 3;
        if (outcome == 0 && !leftovers(dir.path(), {"Error.log"}).isEmpty())
            outcome = 4;
        ::_exit(outcome);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no private mount namespace here";
    // 1: no disk-full error; 2: another error; 3: previous report damaged; 4: fragment left.
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(HandlerTest, ARunawayRecursionIsReportedByItsEndsAndACount) {
    handler.setDestination(temp.path());
    handler.setUseInterface(false);
    const auto stackLines = [&] {
        const QString report = handler.ErrorLogDisplay();
        const qsizetype from = report.indexOf(QStringLiteral("-------------------\r\n")) + 21;
        return report.mid(from).split(QStringLiteral("\r\n"));
    };

    // 1,000 levels are reported whole.
    for (int i = 1; i <= 1000; ++i)
        handler.Push(QStringLiteral("P%1").arg(i));
    ASSERT_EQ(handler.HandleError(QStringLiteral("deep"), 28), 0);
    QStringList lines = stackLines();
    EXPECT_EQ(lines[0], QStringLiteral("01  P1"));
    EXPECT_EQ(lines[999], QStringLiteral("1000") + QString(2000, u' ') + QStringLiteral("P1000"));

    // Beyond: the outermost and innermost 500, one line for the rest, the indent going on
    // from the outer part.
    for (int i = 1; i <= 100'000; ++i)
        handler.Push(QStringLiteral("P%1").arg(i));
    ASSERT_EQ(handler.HandleError(QStringLiteral("deeper"), 28), 0);
    lines = stackLines();
    EXPECT_EQ(lines[499], QStringLiteral("500") + QString(1000, u' ') + QStringLiteral("P500"));
    EXPECT_EQ(lines[500], QStringLiteral("... 99000 levels left out ..."));
    EXPECT_EQ(lines[501], QStringLiteral("99501") + QString(1002, u' ') + QStringLiteral("P99501"));
    EXPECT_EQ(lines[1000],
              QStringLiteral("100000") + QString(2000, u' ') + QStringLiteral("P100000"));
    EXPECT_EQ(handler.ProcName(), QStringLiteral("P100000"));
    EXPECT_LT(handler.ErrorLogDisplay().size(), 2'000'000);
    EXPECT_EQ(fileBytes(temp.filePath(QStringLiteral("Error.log"))),
              (handler.ErrorLogDisplay() + QStringLiteral("\r\n")).toLocal8Bit());
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
}
