#include "sysinfo/sysobj.h"

#include <trapwell/comtypes.h>

#include <gtest/gtest.h>

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
        info = version.value_or(OsVersionInfo{9, 9, 9, linuxPlatformId});
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

    std::shared_ptr<FakeOsQueries> fake = std::make_shared<FakeOsQueries>();
    trapwell::ComPtr<ISysObj> object;
};

TEST_F(SysObjTest, VersionTexts) {
    for (const auto& [major, minor, text] :
         {std::tuple{4, 0, "4.00"}, {4, 10, "4.10"}, {5, 1, "5.01"}}) {
        fake->version = OsVersionInfo{major, minor, 153, linuxPlatformId};
        EXPECT_EQ(get(&ISysObj::get_OsVersion), QLatin1String(text));
    }
    fake->processor = 586;
    EXPECT_EQ(QStringList({get(&ISysObj::get_PlatForm), get(&ISysObj::get_Build),
                           get(&ISysObj::get_ServicePack), get(&ISysObj::get_Cpu)}),
              QStringList({"Linux", "153", "0", "Intel Pentium"}));

    fake->version.reset();
    EXPECT_EQ(QStringList({get(&ISysObj::get_PlatForm), get(&ISysObj::get_OsVersion),
                           get(&ISysObj::get_Build), get(&ISysObj::get_ServicePack)}),
              QStringList({"Probably unable to run...", "0.00", "0", "0"}));
}

TEST_F(SysObjTest, MemoryPropertiesUseTheDefaultLocale) {
    const QLocale saved;
    fake->memory = {268435456, 1536, qint64(1) << 47, 1023};
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(QStringList({get(&ISysObj::get_TotalPhysicalMemory),
                           get(&ISysObj::get_AvailablePhysicalMemory),
                           get(&ISysObj::get_TotalVirtualMemory),
                           get(&ISysObj::get_AvailableVirtualMemory)}),
              QStringList({"262,144K", "1K", "137,438,953,472K", "K"}));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(get(&ISysObj::get_TotalPhysicalMemory), u"262.144K");
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

} // namespace
