#include "sysinfo/osinfo.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/utsname.h>

#include <cstdio>

namespace {

using namespace trapwell::sysinfo;

TEST(KernelRelease, GivesMajorMinorAndBuild) {
    const struct {
        const char* release;
        std::int32_t major, minor, build;
    } cases[] = {{"6.1.0-18-amd64", 6, 1, 0},
                 {"5.15.153.1-microsoft-standard-WSL2", 5, 15, 153},
                 {"6.8.0-rc1+", 6, 8, 0},
                 {"4.19", 4, 19, 0},
                 {"3", 3, 0, 0}};
    for (const auto& c : cases) {
        OsVersionInfo info;
        ASSERT_TRUE(parseKernelRelease(QString::fromLatin1(c.release), info)) << c.release;
        EXPECT_EQ(info.major, c.major) << c.release;
        EXPECT_EQ(info.minor, c.minor) << c.release;
        EXPECT_EQ(info.build, c.build) << c.release;
    }
}

TEST(KernelRelease, RejectsTextWithoutLeadingNumber) {
    for (const char* release : {"", "linux-6.1", "v6.1.0", "99999999999.1"}) {
        OsVersionInfo info{7, 8, 9, 2, QStringLiteral("kept")};
        EXPECT_FALSE(parseKernelRelease(QString::fromLatin1(release), info)) << release;
        EXPECT_EQ(info.major, 7) << release;
        EXPECT_EQ(info.minor, 8) << release;
        EXPECT_EQ(info.build, 9) << release;
    }
}

TEST(ProcessorType, FollowsTheMachineName) {
    const struct {
        const char* machine;
        std::int32_t type;
    } cases[] = {{"i386", 386},      {"i486", 486},    {"i586", 586},    {"i686", 586},
                 {"mips", 4000},     {"mips64", 4000}, {"alpha", 21064}, {"x86_64", 8664},
                 {"aarch64", 43620}, {"armv7l", 0},    {"riscv64", 0},   {"", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(processorTypeFromMachine(QString::fromLatin1(c.machine)), c.type) << c.machine;
}

class LinuxMemoryTest : public ::testing::Test {
protected:
    QString write(const char* name, const QByteArray& content) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    QString missing() const { return dir.filePath(QStringLiteral("missing")); }

    QTemporaryDir dir;
};

TEST_F(LinuxMemoryTest, PhysicalMemoryFromMeminfo) {
    const QString meminfo = write("meminfo", "MemTotal:       16318480 kB\n"
                                             "MemFree:         1000000 kB\n"
                                             "MemAvailable:    8000000 kB\n"
                                             "HugePages_Total:       0\n");
    const MemoryStatus memory = LinuxOsQueries(meminfo, missing()).memoryStatus();
    EXPECT_EQ(memory.totalPhys, 16318480LL * 1024);
    EXPECT_EQ(memory.availPhys, 8000000LL * 1024);

    // Older kernels have no MemAvailable; lines not in "Name: number kB" form are skipped.
    const QString older = write("older", "MemTotal:  2048 kB\nMemFree:   512 kB\n"
                                         "MemAvailable: lots kB\nMemAvailable: 9 MB\ngarbage\n");
    const MemoryStatus fallback = LinuxOsQueries(older, missing()).memoryStatus();
    EXPECT_EQ(fallback.totalPhys, 2048 * 1024);
    EXPECT_EQ(fallback.availPhys, 512 * 1024);
}

TEST_F(LinuxMemoryTest, AvailableVirtualIsLimitLessProcessSize) {
    const QString status = write("status", "Name:\ttest\n"
                                           "VmPeak:\t  999999 kB\n"
                                           "VmSize:\t    2048 kB\n");
    const MemoryStatus memory = LinuxOsQueries(missing(), status).memoryStatus();
    EXPECT_GT(memory.totalVirtual, 0);
    EXPECT_EQ(memory.availVirtual, memory.totalVirtual - 2048 * 1024);

    const QString huge = write("huge", "VmSize:\t9007199254740991 kB\n");
    EXPECT_EQ(LinuxOsQueries(missing(), huge).memoryStatus().availVirtual, 0);
}

TEST_F(LinuxMemoryTest, UnreadableFilesGiveZeros) {
    const MemoryStatus memory = LinuxOsQueries(missing(), missing()).memoryStatus();
    EXPECT_EQ(memory.totalPhys, 0);
    EXPECT_EQ(memory.availPhys, 0);
    EXPECT_EQ(memory.availVirtual, 0);
    EXPECT_GT(memory.totalVirtual, 0);
}

TEST_F(LinuxMemoryTest, TotalVirtualFollowsTheAddressSpaceLimit) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
    const QString status = write("status", "VmSize:\t4096 kB\n");
    // Lowered only for the one query, with a terabyte of headroom over what is mapped.
    const MemoryStatus real = LinuxOsQueries().memoryStatus();
    rlimit lowered = saved;
    lowered.rlim_cur = rlim_t(real.totalVirtual - real.availVirtual + (qint64(1) << 40));
    if (saved.rlim_cur != RLIM_INFINITY && lowered.rlim_cur > saved.rlim_cur)
        GTEST_SKIP() << "address space already limited below the test's headroom";
    ASSERT_EQ(setrlimit(RLIMIT_AS, &lowered), 0);
    const MemoryStatus limited = LinuxOsQueries(missing(), status).memoryStatus();
    ASSERT_EQ(setrlimit(RLIMIT_AS, &saved), 0);

    EXPECT_EQ(limited.totalVirtual, qint64(lowered.rlim_cur));
    EXPECT_EQ(limited.availVirtual, qint64(lowered.rlim_cur) - 4096 * 1024);
}

TEST(LinuxOsQueriesOnThisMachine, AnswersFromTheRunningSystem) {
    const LinuxOsQueries queries;
    utsname names{};
    ASSERT_EQ(uname(&names), 0);
    int major = -1, minor = -1;
    ASSERT_EQ(std::sscanf(names.release, "%d.%d", &major, &minor), 2);

    OsVersionInfo info;
    ASSERT_TRUE(queries.versionInfo(info));
    EXPECT_EQ(info.platformId, linuxPlatformId);
    EXPECT_EQ(info.major, major);
    EXPECT_EQ(info.minor, minor);
    EXPECT_TRUE(info.servicePack.isEmpty());

    if (QByteArray(names.machine) == "x86_64") {
        EXPECT_EQ(queries.processorType(), 8664);
    }

    const MemoryStatus memory = queries.memoryStatus();
    EXPECT_GT(memory.totalPhys, 0);
    EXPECT_GT(memory.availPhys, 0);
    EXPECT_LE(memory.availPhys, memory.totalPhys);
    EXPECT_GT(memory.availVirtual, 0);
    EXPECT_LT(memory.availVirtual, memory.totalVirtual);
}

} // namespace
