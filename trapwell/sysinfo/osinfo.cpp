#include "sysinfo/osinfo.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QRegularExpression>

#include <sys/resource.h>
#include <sys/utsname.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace trapwell::sysinfo {

namespace {

constexpr qint64 maxBytes = std::numeric_limits<qint64>::max();

// What a process may map when RLIMIT_AS sets no bound: the user half of the address space.
#if defined(__aarch64__)
constexpr qint64 userAddressSpace = qint64(1) << 48; // 48-bit virtual addresses
#else
constexpr qint64 userAddressSpace = qint64(1) << 47; // x86_64 with four-level paging
#endif

// The "Name:   123 kB" lines of a /proc file, in bytes. Empty when the file cannot be read.
QHash<QByteArray, qint64> readKilobyteFields(const QString& path) {
    QHash<QByteArray, qint64> fields;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fields;
    // readAll, not size(): /proc files report a size of 0.
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QList<QByteArray> words = line.mid(colon + 1).simplified().split(' ');
        if (words.size() != 2 || words[1] != "kB")
            continue;
        bool ok = false;
        const qint64 kilobytes = words[0].toLongLong(&ok);
        if (!ok || kilobytes < 0)
            continue;
        fields.insert(line.left(colon), kilobytes > maxBytes / 1024 ? maxBytes : kilobytes * 1024);
    }
    return fields;
}

qint64 addressSpaceLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return qint64(std::min<rlim_t>(limit.rlim_cur, rlim_t(maxBytes)));
    return userAddressSpace;
}

} // namespace

LinuxOsQueries::LinuxOsQueries(QString meminfoPath, QString statusPath)
    : meminfoPath_(std::move(meminfoPath)), statusPath_(std::move(statusPath)) {
}

bool LinuxOsQueries::versionInfo(OsVersionInfo& info) const {
    utsname names{};
    if (uname(&names) != 0)
        return false;
    // An odd release text still is Linux: the family stays known, the numbers read 0.
    OsVersionInfo version;
    parseKernelRelease(QString::fromLocal8Bit(names.release), version);
    version.platformId = linuxPlatformId;
    info = version;
    return true;
}

std::int32_t LinuxOsQueries::processorType() const {
    utsname names{};
    if (uname(&names) != 0)
        return 0;
    return processorTypeFromMachine(QString::fromLocal8Bit(names.machine));
}

MemoryStatus LinuxOsQueries::memoryStatus() const {
    MemoryStatus memory;
    const QHash<QByteArray, qint64> meminfo = readKilobyteFields(meminfoPath_);
    memory.totalPhys = meminfo.value("MemTotal");
    // Kernels before 3.14 have no MemAvailable; free memory is the nearest they offer.
    memory.availPhys =
        meminfo.contains("MemAvailable") ? meminfo.value("MemAvailable") : meminfo.value("MemFree");

    memory.totalVirtual = addressSpaceLimit();
    const QHash<QByteArray, qint64> status = readKilobyteFields(statusPath_);
    // Without the process's own size nothing is known to be available.
    if (status.contains("VmSize"))
        memory.availVirtual = std::max<qint64>(0, memory.totalVirtual - status.value("VmSize"));
    return memory;
}

bool parseKernelRelease(const QString& release, OsVersionInfo& info) {
    static const QRegularExpression numbers(QStringLiteral(R"(^(\d+)(?:\.(\d+)(?:\.(\d+))?)?)"));
    const QRegularExpressionMatch match = numbers.match(release);
    if (!match.hasMatch())
        return false;
    std::int32_t parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const QString digits = match.captured(i + 1);
        if (digits.isEmpty())
            break;
        bool ok = false;
        parts[i] = digits.toInt(&ok);
        if (!ok)
            return false;
    }
    info.major = parts[0];
    info.minor = parts[1];
    info.build = parts[2];
    return true;
}

std::int32_t processorTypeFromMachine(const QString& machine) {
    if (machine == u"i386")
        return 386;
    if (machine == u"i486")
        return 486;
    if (machine == u"i586" || machine == u"i686")
        return 586;
    if (machine.startsWith(u"mips"))
        return 4000;
    if (machine == u"alpha")
        return 21064;
    if (machine == u"x86_64")
        return 8664;
    if (machine == u"aarch64")
        return 43620; // 0xAA64, ARM64's number on the original platform
    return 0;
}

QString platformText(std::int32_t platformId) {
    return platformId == linuxPlatformId ? QStringLiteral("Linux")
                                         : QStringLiteral("Probably unable to run...");
}

QString osVersionText(std::int32_t major, std::int32_t minor) {
    return QString::number(major) + u'.' + (u'0' + QString::number(minor)).right(2);
}

QString cpuText(std::int32_t processorType) {
    switch (processorType) {
    case 386:
        return QStringLiteral("Intel 386");
    case 486:
        return QStringLiteral("Intel 486");
    case 586:
        return QStringLiteral("Intel Pentium");
    case 4000:
        return QStringLiteral("MIPS R4000");
    case 21064:
        return QStringLiteral("DEC Alpha 21064");
    default:
        return QStringLiteral("(unknown)");
    }
}

QString memoryText(qint64 bytes, const QLocale& locale) {
    // Grouped by hand: QLocale::toString omits separators for some locales (C among them)
    // and groups by other sizes for others, while the pattern always groups by thousands.
    const qint64 kilobytes = bytes / 1024; // truncates toward zero
    QString text;
    if (kilobytes != 0) {
        // No overflow: the magnitude of any quotient is far below the qint64 maximum.
        const QString digits = QString::number(kilobytes < 0 ? -kilobytes : kilobytes);
        const QString separator = locale.groupSeparator();
        if (kilobytes < 0)
            text += locale.negativeSign();
        for (qsizetype i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0)
                text += separator;
            text += digits[i];
        }
    }
    return text + u'K';
}

} // namespace trapwell::sysinfo
