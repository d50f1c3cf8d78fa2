#include "sysinfo/sysobj.h"

#include "platform/com/errorrecord.h"

#include <trapwell/comptr.h>
#include <trapwell/runtime.h>
#include <trapwell/runtimeerror.h>

#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <cstdio>
#include <memory>

namespace {

using trapwell::ComPtr;
using trapwell::HResult;
using trapwell::ISysObj;
using namespace trapwell::sysinfo;
namespace status = trapwell::status;

// Answers whatever the test sets; a failing version query scribbles over the record, as a
// real failed call may leave it half-filled.
class FakeOsQueries final : public OsQueries {
public:
    bool versionOk = true;
    OsVersionInfo version;
    std::int32_t processor = 0;
    MemoryStatus memory;
    bool throwOnMemory = false;
    mutable int versionCalls = 0;

    bool versionInfo(OsVersionInfo& info) const override {
        ++versionCalls;
        if (!versionOk) {
            info = {9, 9, 9, 2, QStringLiteral("Service Pack 6")};
            return false;
        }
        info = version;
        return true;
    }
    std::int32_t processorType() const override { return processor; }
    MemoryStatus memoryStatus() const override {
        if (throwOnMemory)
            throw trapwell::RuntimeError(7, QStringLiteral("FakeOs"), QStringLiteral("No room"));
        return memory;
    }
};

using Property = HResult (ISysObj::*)(QString*);

QString read(const ComPtr<ISysObj>& object, Property property) {
    QString text = QStringLiteral("untouched");
    EXPECT_EQ((object.get()->*property)(&text), status::ok);
    return text;
}

class SysObjTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(createSysObjWith(fake, trapwell::IID_SysObj, object.putVoid()), status::ok);
        ASSERT_TRUE(object);
    }

    void setVersion(std::int32_t major, std::int32_t minor, std::int32_t build = 0,
                    std::int32_t platformId = 2, const QString& servicePack = {}) {
        fake->version = {major, minor, build, platformId, servicePack};
    }

    std::shared_ptr<FakeOsQueries> fake = std::make_shared<FakeOsQueries>();
    ComPtr<ISysObj> object;
};

TEST_F(SysObjTest, PlatFormNamesTheFamily) {
    const struct {
        std::int32_t id;
        const char16_t* text;
    } cases[] = {{0, u"Probably unable to run..."}, {1, u"Win9x"}, {2, u"WinNT"},
                 {linuxPlatformId, u"Linux"},       {3, u""},      {-1, u""}};
    for (const auto& c : cases) {
        setVersion(5, 1, 2600, c.id);
        EXPECT_EQ(read(object, &ISysObj::get_PlatForm), QString::fromUtf16(c.text)) << c.id;
    }
}

TEST_F(SysObjTest, OsVersionGivesMinorAsTwoDigits) {
    const struct {
        std::int32_t major, minor;
        const char16_t* text;
    } cases[] = {{4, 0, u"4.00"}, {4, 10, u"4.10"}, {4, 90, u"4.90"},
                 {5, 1, u"5.01"}, {6, 1, u"6.01"},  {10, 0, u"10.00"}};
    for (const auto& c : cases) {
        setVersion(c.major, c.minor);
        EXPECT_EQ(read(object, &ISysObj::get_OsVersion), QString::fromUtf16(c.text));
    }
}

TEST_F(SysObjTest, BuildIsTheSignedFieldUnmasked) {
    setVersion(5, 1, 2600);
    EXPECT_EQ(read(object, &ISysObj::get_Build), u"2600");
    // Win9x puts the version into the high word; nothing is masked away.
    setVersion(4, 10, 0x040A08AE, 1);
    EXPECT_EQ(read(object, &ISysObj::get_Build), u"67766446");
    setVersion(4, 10, -1, 1);
    EXPECT_EQ(read(object, &ISysObj::get_Build), u"-1");
}

TEST_F(SysObjTest, ServicePackIsSearchedOnlyOnVersionFour) {
    const struct {
        std::int32_t major;
        QString text;
        const char16_t* number;
    } cases[] = {{4, QStringLiteral("Service Pack 6a"), u"6"},
                 {4, QStringLiteral("Service Pack 3"), u"3"},
                 {4, QStringLiteral("Service Pack 6 (built on 3)"), u"3"},
                 {4, QStringLiteral("Service Pack 2"), u"0"},
                 {4, QString(), u"0"},
                 {5, QStringLiteral("Service Pack 2"), u"0"},
                 // The record holds 128 characters; a digit past them is not seen.
                 {4, QString(128, u'x') + u'6', u"0"},
                 {4, QString(127, u'x') + u'6', u"6"}};
    for (const auto& c : cases) {
        setVersion(c.major, 0, 1381, 2, c.text);
        EXPECT_EQ(read(object, &ISysObj::get_ServicePack), QString::fromUtf16(c.number))
            << c.major << ' ' << c.text.toStdString();
    }
}

TEST_F(SysObjTest, FailedVersionQueryCountsAsZeros) {
    fake->versionOk = false;
    EXPECT_EQ(read(object, &ISysObj::get_PlatForm), u"Probably unable to run...");
    EXPECT_EQ(read(object, &ISysObj::get_OsVersion), u"0.00");
    EXPECT_EQ(read(object, &ISysObj::get_Build), u"0");
    EXPECT_EQ(read(object, &ISysObj::get_ServicePack), u"0");
}

TEST_F(SysObjTest, CpuNamesTheProcessorType) {
    const struct {
        std::int32_t type;
        const char16_t* text;
    } cases[] = {{386, u"Intel 386"},         {486, u"Intel 486"},
                 {586, u"Intel Pentium"},     {4000, u"MIPS R4000"},
                 {21064, u"DEC Alpha 21064"}, {8664, u"(unknown)"},
                 {43620, u"(unknown)"},       {0, u"(unknown)"}};
    for (const auto& c : cases) {
        fake->processor = c.type;
        EXPECT_EQ(read(object, &ISysObj::get_Cpu), QString::fromUtf16(c.text)) << c.type;
    }
}

TEST_F(SysObjTest, MemoryPropertiesUseTheDefaultLocale) {
    const QLocale saved;
    fake->memory = {268435456, 1536, qint64(1) << 47, 1023};

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(read(object, &ISysObj::get_TotalPhysicalMemory), u"262,144K");
    EXPECT_EQ(read(object, &ISysObj::get_AvailablePhysicalMemory), u"1K");
    EXPECT_EQ(read(object, &ISysObj::get_TotalVirtualMemory), u"137,438,953,472K");
    EXPECT_EQ(read(object, &ISysObj::get_AvailableVirtualMemory), u"K");

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(read(object, &ISysObj::get_TotalPhysicalMemory), u"262.144K");
    QLocale::setDefault(saved);
}

TEST_F(SysObjTest, EveryReadAsksAfresh) {
    setVersion(4, 0, 1381, 2, QStringLiteral("Service Pack 3"));
    fake->memory.totalPhys = 512 * 1024;
    EXPECT_EQ(read(object, &ISysObj::get_ServicePack), u"3");
    EXPECT_EQ(read(object, &ISysObj::get_TotalPhysicalMemory), u"512K");

    setVersion(4, 10, 1998, 1, QStringLiteral("Service Pack 5"));
    fake->memory.totalPhys = 2048;
    EXPECT_EQ(read(object, &ISysObj::get_ServicePack), u"5");
    EXPECT_EQ(read(object, &ISysObj::get_TotalPhysicalMemory), u"2K");
    EXPECT_EQ(fake->versionCalls, 2);
}

TEST_F(SysObjTest, RaisedErrorReachesTheRecord) {
    auto record = object.as<trapwell::ISupportErrorRecord>(trapwell::IID_ISupportErrorRecord);
    ASSERT_TRUE(record);
    std::int32_t number = -1;
    QString source, description;
    platform::com::clearErrorRecord();
    EXPECT_EQ(record->GetErrorRecord(&number, &source, &description), status::falseResult);
    EXPECT_EQ(number, 0);

    fake->throwOnMemory = true;
    QString text = QStringLiteral("untouched");
    const HResult hr = object->get_TotalVirtualMemory(&text);
    EXPECT_TRUE(trapwell::failed(hr));
    EXPECT_EQ(text, u"untouched");
    EXPECT_EQ(record->GetErrorRecord(&number, &source, &description), status::ok);
    EXPECT_EQ(number, 7);
    EXPECT_EQ(source, u"FakeOs");
    EXPECT_EQ(description, u"No room");
}

// The running system, through the class factory's entry.
TEST(SysObjOnThisMachine, DescribesLinux) {
    ComPtr<ISysObj> object;
    ASSERT_EQ(createSysObj(trapwell::IID_SysObj, object.putVoid()), status::ok);

    utsname names{};
    ASSERT_EQ(uname(&names), 0);
    int major = -1, minor = -1;
    ASSERT_EQ(std::sscanf(names.release, "%d.%d", &major, &minor), 2);

    EXPECT_EQ(read(object, &ISysObj::get_PlatForm), u"Linux");
    EXPECT_EQ(read(object, &ISysObj::get_OsVersion),
              QStringLiteral("%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(read(object, &ISysObj::get_ServicePack), u"0");

    // Digits only: the separator depends on the machine's locale.
    const auto kilobytes = [&](Property property) {
        const QString text = read(object, property);
        EXPECT_TRUE(text.endsWith(u'K')) << text.toStdString();
        QString digits;
        for (QChar c : text)
            if (c.isDigit())
                digits += c;
        EXPECT_FALSE(digits.isEmpty()) << text.toStdString();
        return digits.toLongLong();
    };
    const qint64 totalPhys = kilobytes(&ISysObj::get_TotalPhysicalMemory);
    const qint64 availPhys = kilobytes(&ISysObj::get_AvailablePhysicalMemory);
    const qint64 totalVirtual = kilobytes(&ISysObj::get_TotalVirtualMemory);
    const qint64 availVirtual = kilobytes(&ISysObj::get_AvailableVirtualMemory);
    EXPECT_LE(availPhys, totalPhys);
    EXPECT_LE(availVirtual, totalVirtual);
}

} // namespace
