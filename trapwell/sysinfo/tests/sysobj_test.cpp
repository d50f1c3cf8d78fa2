#include "sysinfo/sysobj.h"

#include <trapwell/comptr.h>
#include <trapwell/runtime.h>
#include <trapwell/runtimeerror.h>

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <tuple>

namespace {

using trapwell::ISysObj;
using namespace trapwell::sysinfo;
namespace status = trapwell::status;
using Property = trapwell::HResult (ISysObj::*)(QString*);

// Answers whatever the test sets; a failed version query leaves the record filled with junk.
class FakeOsQueries final : public OsQueries {
public:
    std::optional<OsVersionInfo> version = OsVersionInfo{};
    std::int32_t processor = 0;
    MemoryStatus memory;
    bool throwOnMemory = false;

    bool versionInfo(OsVersionInfo& info) const override {
        info = version.value_or(OsVersionInfo{9, 9, 9, 2, "Service Pack 6"});
        return version.has_value();
    }
    std::int32_t processorType() const override { return processor; }
    MemoryStatus memoryStatus() const override {
        if (throwOnMemory)
            throw trapwell::RuntimeError(7, "FakeOs", "No room");
        return memory;
    }
};

// Each case changes what the queries answer and reads the same object, so every table
// also shows that each read asks afresh.
class SysObjTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(createSysObjWith(fake, trapwell::IID_SysObj, object.putVoid()), status::ok);
    }
    QString get(Property property) {
        QString text;
        EXPECT_EQ((object.get()->*property)(&text), status::ok);
        return text;
    }
    QString get(Property property, std::int32_t major, std::int32_t minor, std::int32_t build = 0,
                std::int32_t platformId = 2, const QString& servicePack = {}) {
        fake->version = OsVersionInfo{major, minor, build, platformId, servicePack};
        return get(property);
    }

    std::shared_ptr<FakeOsQueries> fake = std::make_shared<FakeOsQueries>();
    trapwell::ComPtr<ISysObj> object;
};

TEST_F(SysObjTest, VersionTexts) {
    const std::pair<std::int32_t, QString> platforms[] = {
        {1, "Win9x"}, {2, "WinNT"}, {linuxPlatformId, "Linux"}, {3, ""}};
    for (const auto& [id, text] : platforms)
        EXPECT_EQ(get(&ISysObj::get_PlatForm, 5, 1, 0, id), text) << id;
    for (const auto& [major, minor, text] :
         {std::tuple{4, 0, "4.00"}, {4, 10, "4.10"}, {5, 1, "5.01"}})
        EXPECT_EQ(get(&ISysObj::get_OsVersion, major, minor), QLatin1String(text));
    // Win9x puts the version into the high word; nothing is masked away.
    EXPECT_EQ(get(&ISysObj::get_Build, 4, 10, 0x040A08AE, 1), u"67766446");
    EXPECT_EQ(get(&ISysObj::get_Build, 4, 10, -1, 1), u"-1");
    fake->processor = 586;
    EXPECT_EQ(get(&ISysObj::get_Cpu), u"Intel Pentium");

    fake->version.reset();
    EXPECT_EQ(QStringList({get(&ISysObj::get_PlatForm), get(&ISysObj::get_OsVersion),
                           get(&ISysObj::get_Build), get(&ISysObj::get_ServicePack)}),
              QStringList({"Probably unable to run...", "0.00", "0", "0"}));
}

TEST_F(SysObjTest, ServicePackIsSearchedOnlyOnVersionFour) {
    const std::tuple<std::int32_t, QString, QString> cases[] = {
        {4, "Service Pack 6a", "6"},
        {4, "Service Pack 6 (built on 3)", "3"}, // digits are tried 3, 4, 5, 6
        {5, "Service Pack 2", "0"},
        // The record holds 128 characters; a digit past them is not seen.
        {4, QString(127, u'x') + u'6', "6"},
        {4, QString(128, u'x') + u'6', "0"}};
    for (const auto& [major, text, number] : cases)
        EXPECT_EQ(get(&ISysObj::get_ServicePack, major, 0, 1381, 2, text), number)
            << major << ' ' << text.toStdString();
}

TEST_F(SysObjTest, MemoryPropertiesUseTheDefaultLocale) {
    const QLocale saved;
    fake->memory = {268435456, 1536, qint64(1) << 47, 1023};
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(get(&ISysObj::get_TotalPhysicalMemory), u"262,144K");
    EXPECT_EQ(get(&ISysObj::get_AvailablePhysicalMemory), u"1K");
    EXPECT_EQ(get(&ISysObj::get_TotalVirtualMemory), u"137,438,953,472K");
    EXPECT_EQ(get(&ISysObj::get_AvailableVirtualMemory), u"K");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    fake->memory.totalPhys = 1234 * 1024;
    EXPECT_EQ(get(&ISysObj::get_TotalPhysicalMemory), u"1.234K");
    QLocale::setDefault(saved);
}

TEST_F(SysObjTest, RaisedErrorReachesTheRecord) {
    auto record = object.as<trapwell::ISupportErrorRecord>(trapwell::IID_ISupportErrorRecord);
    ASSERT_TRUE(record);
    fake->throwOnMemory = true;
    QString text = "untouched", source, description;
    EXPECT_TRUE(trapwell::failed(object->get_TotalVirtualMemory(&text)));
    EXPECT_EQ(text, u"untouched");
    std::int32_t number = 0;
    EXPECT_EQ(record->GetErrorRecord(&number, &source, &description), status::ok);
    EXPECT_EQ(std::tuple(number, source, description), std::tuple(7, "FakeOs", "No room"));
}

// The running system, through the class factory's entry.
TEST_F(SysObjTest, DescribesThisMachine) {
    ASSERT_EQ(createSysObj(trapwell::IID_SysObj, object.putVoid()), status::ok);
    utsname names{};
    int major = -1, minor = -1;
    ASSERT_EQ(uname(&names), 0);
    ASSERT_EQ(std::sscanf(names.release, "%d.%d", &major, &minor), 2);
    EXPECT_EQ(get(&ISysObj::get_PlatForm), u"Linux");
    EXPECT_EQ(get(&ISysObj::get_OsVersion), QString::asprintf("%d.%02d", major, minor));

    // Digits only: the separator depends on the machine's locale.
    const auto kilobytes = [&](Property property) {
        const QString text = get(property);
        EXPECT_TRUE(text.endsWith(u'K') && text.size() > 1) << text.toStdString();
        return QString(text).remove(QRegularExpression("\\D")).toLongLong();
    };
    EXPECT_LE(kilobytes(&ISysObj::get_AvailablePhysicalMemory),
              kilobytes(&ISysObj::get_TotalPhysicalMemory));
    EXPECT_LE(kilobytes(&ISysObj::get_AvailableVirtualMemory),
              kilobytes(&ISysObj::get_TotalVirtualMemory));
}

} // namespace
