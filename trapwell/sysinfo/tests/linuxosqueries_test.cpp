#include "sysinfo/osinfo.h"

#include "platform/tests/support/files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <limits>
#include <tuple>

namespace {

using namespace trapwell::sysinfo;

TEST(LinuxOsQueries, KernelReleaseAndMachineNameGiveVersionAndProcessor) {
    const auto parse = [](const QString& release, OsVersionInfo info) {
        const bool ok = parseKernelRelease(release, info);
        return std::tuple(ok, info.major, info.minor, info.build);
    };
    EXPECT_EQ(parse("6.1.0-18-amd64", {}), std::tuple(true, 6, 1, 0));
    EXPECT_EQ(parse("5.15.153.1-microsoft-standard-WSL2", {}), std::tuple(true, 5, 15, 153));
    EXPECT_EQ(parse("4.19", {}), std::tuple(true, 4, 19, 0));
    // Without a leading number that fits, the record is left as it was.
    for (const char* release : {"", "linux-6.1", "99999999999.1"})
        EXPECT_EQ(parse(release, {7, 8, 9, 2}), std::tuple(false, 7, 8, 9)) << release;

    // The machine name gives the classic processor type, and that its name in the report.
    const std::tuple<const char*, std::int32_t, const char*> cases[] = {
        {"i386", 386, "Intel 386"},          {"i486", 486, "Intel 486"},
        {"i686", 586, "Intel Pentium"},      {"mips64", 4000, "MIPS R4000"},
        {"alpha", 21064, "DEC Alpha 21064"}, {"x86_64", 8664, "(unknown)"},
        {"aarch64", 43620, "(unknown)"},     {"riscv64", 0, "(unknown)"}};
    for (const auto& [machine, type, text] : cases) {
        EXPECT_EQ(processorTypeFromMachine(machine), type) << machine;
        EXPECT_EQ(cpuText(type), QLatin1String(text)) << machine;
    }
}

class LinuxMemoryTest : public ::testing::Test {
protected:
    MemoryStatus query(const QByteArray& meminfo, const QByteArray& status) {
        return LinuxOsQueries(write("meminfo", meminfo), write("status", status)).memoryStatus();
    }
    QString write(const QString& name, const QByteArray& content) {
        if (content.isEmpty())
            return dir.filePath("missing"); // stands for a file that cannot be read
        EXPECT_TRUE(writeBytes(dir.filePath(name), content));
        return dir.filePath(name);
    }

    QTemporaryDir dir;
};

TEST_F(LinuxMemoryTest, PhysicalMemoryFromMeminfo) {
    const auto physical = [&](const QByteArray& meminfo) {
        const MemoryStatus memory = query(meminfo, {});
        return std::tuple(memory.totalPhys, memory.availPhys);
    };
    EXPECT_EQ(physical("MemTotal:  16318480 kB\nMemFree:  1000000 kB\nMemAvailable:  8000000 kB\n"),
              std::tuple(16318480LL << 10, 8000000LL << 10));
    // Older kernels have no MemAvailable; lines not in "Name: number kB" form are skipped.
    EXPECT_EQ(physical("MemTotal:  2048 kB\nMemFree:   512 kB\n"
                       "MemAvailable: lots kB\nMemAvailable: 9 MB\ngarbage\n"),
              std::tuple(2048 << 10, 512 << 10));
    EXPECT_EQ(physical({}), std::tuple(0, 0));
}

TEST_F(LinuxMemoryTest, AvailableVirtualIsAddressSpaceLimitLessVmSize) {
    EXPECT_EQ(query({}, "VmSize:\t9007199254740991 kB\n").availVirtual, 0); // never below 0
    EXPECT_EQ(query({}, {}).availVirtual, 0);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
    // Lowered only for the one query, with a terabyte of headroom over what is mapped.
    const MemoryStatus real = LinuxOsQueries().memoryStatus();
    rlimit lowered = saved;
    lowered.rlim_cur = rlim_t(real.totalVirtual - real.availVirtual + (qint64(1) << 40));
    if (saved.rlim_cur != RLIM_INFINITY && lowered.rlim_cur > saved.rlim_cur)
        GTEST_SKIP() << "address space already limited below the test's headroom";
    const QString status = write("status", "VmPeak:\t  999999 kB\nVmSize:\t    4096 kB\n");
    ASSERT_EQ(setrlimit(RLIMIT_AS, &lowered), 0);
    const MemoryStatus limited = LinuxOsQueries({}, status).memoryStatus();
    ASSERT_EQ(setrlimit(RLIMIT_AS, &saved), 0);
    EXPECT_EQ(std::tuple(limited.totalVirtual, limited.availVirtual),
              std::tuple(qint64(lowered.rlim_cur), qint64(lowered.rlim_cur) - (4096 << 10)));
}

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
