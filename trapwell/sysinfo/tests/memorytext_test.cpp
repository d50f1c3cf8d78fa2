#include "sysinfo/osinfo.h"

#include <gtest/gtest.h>

#include <limits>

using trapwell::sysinfo::memoryText;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

TEST(MemoryText, KilobytesGroupedByThousands) {
    EXPECT_EQ(memoryText(268435456, english), u"262,144K");
    EXPECT_EQ(memoryText(1024 * 999, english), u"999K");
    EXPECT_EQ(memoryText(1024 * 1000, english), u"1,000K");
    EXPECT_EQ(memoryText(1024 * 123456789LL, english), u"123,456,789K");
}

TEST(MemoryText, PartialKilobytesAreDroppedAndZeroPrintsNothing) {
    EXPECT_EQ(memoryText(1536, english), u"1K");
    EXPECT_EQ(memoryText(2047, english), u"1K");
    EXPECT_EQ(memoryText(1023, english), u"K");
    EXPECT_EQ(memoryText(0, english), u"K");
}

TEST(MemoryText, NumbersWiderThanThePatternKeepAllDigits) {
    EXPECT_EQ(memoryText(1024 * 1234567890123LL, english), u"1,234,567,890,123K");
    EXPECT_EQ(memoryText(std::numeric_limits<qint64>::max(), english), u"9,007,199,254,740,991K");
}

TEST(MemoryText, NegativeCountsTruncateTowardZero) {
    EXPECT_EQ(memoryText(-1536, english), u"-1K");
    EXPECT_EQ(memoryText(-1023, english), u"K");
    EXPECT_EQ(memoryText(-1024 * 1234567LL, english), u"-1,234,567K");
    EXPECT_EQ(memoryText(-1024 * 123456LL, english), u"-123,456K");
    EXPECT_EQ(memoryText(std::numeric_limits<qint64>::min(), english), u"-9,007,199,254,740,992K");
}

TEST(MemoryText, SeparatorComesFromTheLocale) {
    EXPECT_EQ(memoryText(268435456, QLocale(QLocale::German, QLocale::Germany)), u"262.144K");
    // The C locale omits separators in QLocale::toString; the pattern groups regardless.
    EXPECT_EQ(memoryText(268435456, QLocale::c()), u"262,144K");
}

} // namespace
