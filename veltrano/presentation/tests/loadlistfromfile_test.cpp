#include "presentation/loadlistfromfile.h"

#include "platform/tests/support/files.h"

#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

using veltrano::readModuleEntries;

namespace {

class ModuleFileTest : public ::testing::Test {
protected:
    QString file(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("m%1.txt").arg(++count));
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }

    QTemporaryDir dir;
    int count = 0;
};

} // namespace

// A lone LF (every Linux editor's) ends an entry as CR LF and a lone CR do, also split between
// two reads; a long entry keeps its start, cut at whole characters.
TEST_F(ModuleFileTest, EntriesAreTheFilesLinesInOrder) {
    const QString as(veltrano::maxEntryLength, u'a'), umlauts(veltrano::maxEntryLength, u'ä');
    const std::pair<QByteArray, QStringList> rows[] = {
        {"apple\r\n\r\nbanana\r\n", {"apple", "banana"}},
        {"one\rtwo\r\rthree", {"one", "two", "three"}},
        {"a - x\nb - y\n\nc - z\n", {"a - x", "b - y", "c - z"}},
        {"mixed\n\rline\r\n\nend", {"mixed", "line", "end"}},
        {"  \r\nGröße - size\n", {"  ", "Größe - size"}},
        {QByteArray(64 * 1024 - 1, 'a') + "\r\nnext\r\n", {as, "next"}},
        {QByteArray(1500, 'a') + "\n" + QString(1200, u'ä').toUtf8(), {as, umlauts}},
        {QByteArray(veltrano::maxEntryLength - 1, 'a') + "\xF0\x9F\x98\x80"
                                                         "b",
         {as.chopped(1)}},
    };
    for (const auto& [bytes, entries] : rows)
        EXPECT_EQ(readModuleEntries(file(bytes)), entries) << "row " << count;

    QByteArray many;
    for (int i = 0; i < 32800; ++i)
        many += "w" + QByteArray::number(i) + "\n";
    const QStringList held = readModuleEntries(file(many));
    EXPECT_EQ(held.size(), veltrano::maxModuleEntries);
    EXPECT_EQ(held.last(), "w32766");
}

// The file is read before every entry: unchanged, it leaves the list's items alone.
TEST_F(ModuleFileTest, TheListFollowsTheFileAndKeepsItsItemsWhileItIsUnchanged) {
    const QString path = file("a - x\nb - y\n");
    QListWidget list;
    veltrano::LoadListFromFile(path, &list);
    const QListWidgetItem* first = list.item(0);
    veltrano::LoadListFromFile(path, &list);
    EXPECT_EQ(list.item(0), first);
    ASSERT_TRUE(writeBytes(path, "a - x\nb - z\n"));
    veltrano::LoadListFromFile(path, &list);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(1)->text(), "b - z");
    EXPECT_TRUE(list.updatesEnabled()); // painted again once changed
}

// A FIFO gives nothing without waiting for a writer.
TEST_F(ModuleFileTest, OnlyRegularFilesAreReadAndOnlySoFar) {
    const QString fifo = dir.filePath(QStringLiteral("fifo.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    ::alarm(10); // a read that blocks ends the run with SIGALRM
    for (const QString& path : {fifo, zero, dir.path()})
        EXPECT_EQ(readModuleEntries(path), QStringList()) << path.toStdString();
    ::alarm(0);
    const QString huge =
        file(QByteArray(veltrano::maxModuleBytes - 1, 'y') + "\nafter the limit\n");
    EXPECT_EQ(readModuleEntries(huge), QStringList{QString(veltrano::maxEntryLength, u'y')});
}
