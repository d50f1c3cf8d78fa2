#include "presentation/loadlistfromfile.h"

#include "platform/tests/support/files.h"

#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using veltrano::LoadListFromFile;
using veltrano::readModuleEntries;

namespace {

class ModuleFileTest : public ::testing::Test {
protected:
    QString file(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("m%1.txt").arg(++count));
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }
    QStringList loaded(const QByteArray& bytes) { return readModuleEntries(file(bytes)); }

    QTemporaryDir dir;
    int count = 0;
};

} // namespace

// Every Linux editor ends lines with LF: a lone LF ends an entry as CR LF and a lone CR do.
TEST_F(ModuleFileTest, LinesEndAtCrLfLoneCrOrLoneLf) {
    EXPECT_EQ(loaded("apple\r\n\r\nbanana\r\n"), QStringList({"apple", "banana"}));
    EXPECT_EQ(loaded("one\rtwo\r\rthree"), QStringList({"one", "two", "three"}));
    EXPECT_EQ(loaded("a - x\nb - y\n\nc - z\n"), QStringList({"a - x", "b - y", "c - z"}));
    EXPECT_EQ(loaded("mixed\n\rline\r\n\nend"), QStringList({"mixed", "line", "end"}));
    EXPECT_EQ(loaded("  \r\nword - meaning\r\n"), QStringList({"  ", "word - meaning"}));
    EXPECT_EQ(loaded("dup\ndup\n"), QStringList({"dup", "dup"}));
    EXPECT_EQ(loaded("Größe - size\n"), QStringList({"Größe - size"}));
    // A CR LF split between two reads is one line end, not two.
    EXPECT_EQ(loaded(QByteArray(64 * 1024 - 1, 'x') + "\r\nnext\r\n").mid(1),
              QStringList({"next"}));
}

// Also a file the user cannot read (root reads everything, so only checked for others).
TEST_F(ModuleFileTest, NothingUsableGivesAnEmptyList) {
    const QString locked = file("secret\n");
    QFile::setPermissions(locked, QFile::WriteOwner);
    QStringList paths{file("\r\n\n\r"), file(""), QStringLiteral("/nonexistent/4.txt")};
    if (::geteuid() != 0)
        paths << locked;
    QListWidget list;
    for (const QString& path : paths) {
        list.addItem(QStringLiteral("old"));
        LoadListFromFile(path, &list);
        EXPECT_EQ(list.count(), 0) << path.toStdString();
    }
}

// The module is read before every entry: unchanged, the list keeps its items; changed in a
// single letter, it shows the change.
TEST_F(ModuleFileTest, ReadingAgainKeepsAnUnchangedListAndShowsAnyChange) {
    const QString path = file("a - x\nb - y\n");
    QListWidget list;
    LoadListFromFile(path, &list);
    const QListWidgetItem* first = list.item(0);
    LoadListFromFile(path, &list);
    EXPECT_EQ(list.item(0), first);
    ASSERT_TRUE(writeBytes(path, "a - x\nb - z\n"));
    LoadListFromFile(path, &list);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(1)->text(), "b - z");
}

TEST_F(ModuleFileTest, EntriesAndFileSizeAreBounded) {
    QByteArray many;
    for (int i = 0; i < 32800; ++i)
        many += "w" + QByteArray::number(i) + "\n";
    const QStringList entries = loaded(many);
    ASSERT_EQ(entries.size(), veltrano::maxModuleEntries);
    EXPECT_EQ(entries.last(), "w32766");

    // A long entry keeps its start, cut at whole characters.
    const QStringList longOne = loaded(QByteArray(1500, 'a') + "\n" + QString(1200, u'ä').toUtf8());
    ASSERT_EQ(longOne.size(), 2);
    EXPECT_EQ(longOne[0], QString(veltrano::maxEntryLength, u'a'));
    EXPECT_EQ(longOne[1], QString(veltrano::maxEntryLength, u'ä'));

    // Nothing past 8 MB is read.
    QByteArray big(veltrano::maxModuleBytes - 1, 'y');
    big += "\nafter the limit\n";
    const QStringList cut = loaded(big);
    ASSERT_EQ(cut.size(), 1);
    EXPECT_EQ(cut[0].size(), veltrano::maxEntryLength);
}

// Files that are not regular files give nothing and never block, and a read of anything
// stays within a small address space: checked in a child whose address space is capped.
TEST_F(ModuleFileTest, OnlyRegularFilesAreReadWithinBoundedMemory) {
    const QString fifo = dir.filePath(QStringLiteral("fifo.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString huge = file(QByteArray(10 * 1024 * 1024, 'z'));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for what is mapped now plus 32 MB: reading 10 MB whole would not fit twice.
        rlimit limit{};
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        qint64 vmKb = 0;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmSize:"))
                vmKb = line.mid(7).trimmed().split(' ').first().toLongLong();
        limit.rlim_cur = limit.rlim_max = rlim_t(vmKb + 32 * 1024) * 1024;
        ::setrlimit(RLIMIT_AS, &limit);
        ::alarm(10); // a blocking read ends the child with SIGALRM
        int failures = 0;
        failures += !readModuleEntries(fifo).isEmpty();
        failures += !readModuleEntries(zero).isEmpty();
        failures += !readModuleEntries(dir.path()).isEmpty();
        const QStringList one = readModuleEntries(huge);
        failures += one.size() != 1 || one[0].size() != veltrano::maxEntryLength;
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
