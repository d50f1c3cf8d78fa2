#include "sysinfo/osinfo.h"

#include <gtest/gtest.h>

#include <limits>

using trapwell::sysinfo::memoryText;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

// Whole kilobytes only: partial ones are dropped (toward zero) and zero prints nothing.
TEST(MemoryText, KilobytesGroupedByThousands) {
    EXPECT_EQ(memoryText(1024 * 123456789LL, english), u"123,456,789K");
    // Wider than the pattern and above 2^32: every digit is kept.
    EXPECT_EQ(memoryText(std::numeric_limits<qint64>::max(), english), u"9,007,199,254,740,991K");
    EXPECT_EQ(memoryText(2047, english), u"1K");
    EXPECT_EQ(memoryText(-1536, english), u"-1K");
    EXPECT_EQ(memoryText(-1023, english), u"K");
    EXPECT_EQ(memoryText(-1024 * 123456LL, english), u"-123,456K");
    EXPECT_EQ(memoryText(std::numeric_limits<qint64>::min(), english), u"-9,007,199,254,740,992K");
    // QLocale::toString omits separators in the C locale; the pattern groups regardless.
    EXPECT_EQ(memoryText(268435456, QLocale::c()), u"262,144K");
}

} // namespace
