#include "platform/classicerrors.h"

#include "platform/tests/support/outcome.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace platform;

TEST(ClassicErrors, ErrorsCarryTheClassicText) {
    const trapwell::RuntimeError e = classicError(err::overflow, QStringLiteral("Settings"));
    EXPECT_EQ(e.number(), 6);
    EXPECT_EQ(e.source(), QStringLiteral("Settings"));
    EXPECT_STREQ(e.what(), "Overflow");
    EXPECT_EQ(outcome([] { raiseError(err::typeMismatch); }), "error 13");
    EXPECT_EQ(classicErrorText(429), QStringLiteral("ActiveX component can't create object"));
    EXPECT_EQ(classicErrorText(1001),
              QStringLiteral("Application-defined or object-defined error"));
}

TEST(ClassicErrors, ErrnoMapsToClassicFileErrors) {
    const std::pair<int, std::int32_t> cases[] = {
        {ENOENT, 76}, {ENOTDIR, 76}, {EACCES, 75}, {EROFS, 75},        {ENOSPC, 61},
        {EMFILE, 67}, {EIO, 57},     {EEXIST, 58}, {ENAMETOOLONG, 52}, {EINVAL, 75}};
    for (const auto& [errnoValue, number] : cases)
        EXPECT_EQ(errorNumberFromErrno(errnoValue), number) << "errno " << errnoValue;
}
