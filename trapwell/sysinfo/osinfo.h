#pragma once

// basOSInfo: what the system-information object asks the operating system, and the
// classic mappings and number forms that turn the answers into text.

#include <QLocale>
#include <QString>

#include <cstdint>

namespace trapwell::sysinfo {

// The version record. Platform identifier 0 means the system gave no answer; Linux has its
// own, well clear of the classic families' 1 to 3. Linux has no service packs.
struct OsVersionInfo {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t build = 0;
    std::int32_t platformId = 0;
};

inline constexpr std::int32_t linuxPlatformId = 0x1000;

// Byte counts; 64-bit because 32-bit counts overflow on today's machines.
struct MemoryStatus {
    qint64 totalPhys = 0;
    qint64 availPhys = 0;
    qint64 totalVirtual = 0;
    qint64 availVirtual = 0;
};

// The three platform queries. Implementations ask afresh on every call.
class OsQueries {
public:
    virtual ~OsQueries() = default;
    // False when the system cannot answer; the record's contents are then meaningless.
    virtual bool versionInfo(OsVersionInfo& info) const = 0;
    virtual std::int32_t processorType() const = 0;
    virtual MemoryStatus memoryStatus() const = 0;
};

// Answers from uname(2), /proc/meminfo, /proc/self/status and RLIMIT_AS. The file paths
// can be replaced so tests can feed their own contents; an unreadable file gives zeros.
class LinuxOsQueries final : public OsQueries {
public:
    explicit LinuxOsQueries(QString meminfoPath = QStringLiteral("/proc/meminfo"),
                            QString statusPath = QStringLiteral("/proc/self/status"));

    bool versionInfo(OsVersionInfo& info) const override;
    std::int32_t processorType() const override;
    MemoryStatus memoryStatus() const override;

private:
    QString meminfoPath_;
    QString statusPath_;
};

// "6.1.0-18-amd64" → major 6, minor 1, build 0. Missing minor or build numbers count as 0;
// false (and info untouched) when the text does not start with a number that fits.
bool parseKernelRelease(const QString& release, OsVersionInfo& info);
// The classic processor-type number for a uname machine name; 0 when there is none.
std::int32_t processorTypeFromMachine(const QString& machine);

QString platformText(std::int32_t platformId);
// Major, ".", and the minor number as two digits: 5.1 → "5.01", 4.10 → "4.10".
QString osVersionText(std::int32_t major, std::int32_t minor);
QString cpuText(std::int32_t processorType);
// Kilobytes in the pattern "###,###,###" followed by "K": grouped digits, nothing at all
// for 0 (so anything under 1024 bytes gives "K" alone).
QString memoryText(qint64 bytes, const QLocale& locale);

} // namespace trapwell::sysinfo
