#include "presentation/loadlistfromfile.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using veltrano::LoadListFromFile;

namespace {

QStringList loaded(const QByteArray& bytes, QListWidget& list) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.txt"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    f.close();
    LoadListFromFile(path, &list);
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items << list.item(i)->text();
    return items;
}

} // namespace

TEST(LoadListFromFile, LinesEndAtCrLfOrLoneCrOnly) {
    QListWidget list;
    EXPECT_EQ(loaded("apple\r\n\r\nbanana\r\n", list), QStringList({"apple", "banana"}));
    EXPECT_EQ(loaded("one\rtwo\r\rthree", list), QStringList({"one", "two", "three"}));
    EXPECT_EQ(loaded("a\nb\nc\n", list), QStringList({"a\nb\nc\n"}));
    EXPECT_EQ(loaded("  \r\nword - meaning\r\n", list), QStringList({"  ", "word - meaning"}));
    EXPECT_EQ(loaded("dup\r\ndup\r\n", list), QStringList({"dup", "dup"}));
    EXPECT_EQ(loaded("Größe - size\r\n", list), QStringList({"Größe - size"}));
}

TEST(LoadListFromFile, NothingUsableGivesAnEmptyList) {
    QListWidget list;
    list.addItem(QStringLiteral("old"));
    EXPECT_TRUE(loaded("\r\n\r\n\r", list).isEmpty());
    list.addItem(QStringLiteral("old"));
    EXPECT_TRUE(loaded("", list).isEmpty());
    list.addItem(QStringLiteral("old"));
    LoadListFromFile(QStringLiteral("/nonexistent/4.txt"), &list);
    EXPECT_EQ(list.count(), 0);
}

TEST(LoadListFromFile, AModuleHoldsAtMost32767Entries) {
    QByteArray bytes;
    for (int i = 0; i < 32800; ++i)
        bytes += "w" + QByteArray::number(i) + "\r\n";
    QListWidget list;
    const QStringList items = loaded(bytes, list);
    ASSERT_EQ(items.size(), 32767);
    EXPECT_EQ(items.last(), "w32766");
}
