#include "platform/classicconvert.h"
#include "platform/classicerrors.h"
#include "platform/twips.h"

#include "platform/tests/support/outcome.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QObject>

#include <cerrno>
#include <cmath>
#include <limits>

using namespace platform;

TEST(ClassicConvert, TextToNumbers) {
    const std::pair<const char*, const char*> cints[] = {
        {"32767", "32767"},     {"-32768", "-32768"},  {"32768", "error 6"},
        {"2.5", "2"},           {"3.5", "4"},          {"-2.5", "-2"},
        {"2.51", "3"},          {" 12 ", "12"},        {"-32768.5", "-32768"},
        {"32767.5", "error 6"}, {"\t+7\t", "7"},       {".5", "0"},
        {"1e3", "1000"},        {"&HFF", "255"},       {"&HFFFF", "-1"},
        {"&h0007fff", "32767"}, {"&H10000", "error 6"}};
    for (const auto& [text, expected] : cints)
        EXPECT_EQ(outcome([&] { return CInt(QString::fromLatin1(text)); }), expected) << text;
    for (const char* text : {"", "  ", "x", "12x", "1 2", "-", ".", "1e", "True", "0x1", "&HG"})
        EXPECT_EQ(outcome([&] { return CInt(QString::fromLatin1(text)); }), "error 13") << text;

    const std::pair<const char*, const char*> clngs[] = {
        {"-2147483648", "-2147483648"}, {"2147483648", "error 6"},
        {"1e999", "error 6"},           {"1e-999", "0"},
        {"&H8000", "-32768"},           {"&H10000", "65536"},
        {"&HFFFFFFFF", "-1"},           {"&H100000000", "error 6"}};
    for (const auto& [text, expected] : clngs)
        EXPECT_EQ(outcome([&] { return CLng(QString::fromLatin1(text)); }), expected) << text;

    const std::pair<const char*, const char*> cbools[] = {
        {" TrUe\t", "true"}, {"FALSE", "false"},  {"-0.0", "false"}, {"-1", "true"},
        {"0.4", "true"},     {"yes", "error 13"}, {"", "error 13"}};
    for (const auto& [text, expected] : cbools)
        EXPECT_EQ(outcome([&] { return CBool(QString::fromLatin1(text)); }), expected) << text;
}

TEST(ClassicConvert, DoubleToInteger) {
    EXPECT_EQ(CInt(-1.5), -2);
    EXPECT_EQ(CInt(32767.49), 32767);
    EXPECT_EQ(outcome([] { return CInt(32767.5); }), "error 6");
    EXPECT_EQ(CLng(-2147483648.5), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(outcome([] { return CLng(std::nan("")); }), "error 6");
    EXPECT_EQ(outcome([] { return CLng(-std::numeric_limits<double>::infinity()); }), "error 6");
}

TEST(ClassicConvert, NumbersToText) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},      {0.3, "0.3"},          {-0.5, "-0.5"},
        {1.5, "1.5"},    {100.0, "100"},        {1e20, "1E+20"},
        {1e-7, "1E-07"}, {-1.5e-7, "-1.5E-07"}, {0.0001, "0.0001"},
        {1e15, "1E+15"}, {1e-300, "1E-300"},    {123456789012345.0, "123456789012345"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(CStr(value).toStdString(), text) << value;
    // Fifteen significant digits for a double, seven for a single, as the classic runtime.
    EXPECT_EQ(CStr(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(CStr(1.0 / 3.0), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(CStr(2.0f / 3.0f), QStringLiteral("0.6666667"));
    EXPECT_EQ(CStr(0.1f), QStringLiteral("0.1"));
    // Past the digits a type holds, the exponent form: never an integer with made-up digits.
    const std::pair<float, const char*> singles[] = {
        {9999999.0f, "9999999"},       {10000000.0f, "1E+07"},
        {12345678.0f, "1.234568E+07"}, {-12345678.0f, "-1.234568E+07"},
        {0.0001f, "0.0001"},           {0.00001234f, "1.234E-05"},
        {3.4e38f, "3.4E+38"}};
    for (const auto& [value, text] : singles)
        EXPECT_EQ(CStr(value).toStdString(), text) << value;
    EXPECT_EQ(CStr(999999999999999.0), QStringLiteral("999999999999999"));
    EXPECT_EQ(CStr(1234567890123456.0), QStringLiteral("1.23456789012346E+15"));
    EXPECT_EQ(CStr(std::numeric_limits<qulonglong>::max()), QStringLiteral("18446744073709551615"));
    EXPECT_EQ(outcome([] { return CStr(std::numeric_limits<double>::infinity()); }), "error 6");
}

TEST(ClassicErrors, ErrorsCarryTheClassicText) {
    const com::RuntimeError e = classicError(err::overflow, QStringLiteral("Settings"));
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

namespace {
class Counted : public QObject {
    Q_OBJECT
    Q_PROPERTY(int count READ count USER true)
public:
    int count() const { return 7; }
};
} // namespace

TEST(ClassicConvert, OtherValuesToText) {
    EXPECT_EQ(CStr(QVariant()), QString());
    EXPECT_EQ(CStr(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(CStr(true), QStringLiteral("True"));
    EXPECT_EQ(CStr(QChar(u'x')), QStringLiteral("x"));
    EXPECT_EQ(CStr(QTime(7, 8, 9)), QStringLiteral("07:08:09"));
    EXPECT_EQ(CStr(QDateTime(QDate(2024, 2, 29), QTime(13, 5, 9, 500))),
              QStringLiteral("2024-02-29 13:05:09"));
    for (const QVariant& value : {QVariant(QByteArray("a")), QVariant(QStringList{}),
                                  QVariant(QVariantList{}), QVariant(QVariantMap{})})
        EXPECT_EQ(outcome([&] { return CStr(value); }), "error 13") << value.typeName();

    Counted counted;
    QObject plain;
    EXPECT_EQ(CStr(QVariant::fromValue(static_cast<QObject*>(&counted))), QStringLiteral("7"));
    EXPECT_EQ(outcome([&] { return CStr(QVariant::fromValue(&plain)); }), "error 13");
    EXPECT_EQ(outcome([] { return CStr(QVariant::fromValue(static_cast<Counted*>(nullptr))); }),
              "error 91");
}

TEST(Twips, RoundHalvesToEven) {
    EXPECT_EQ(platform::pixelsFromTwips(22.5, 15), 2); // 1.5
    EXPECT_EQ(platform::pixelsFromTwips(37.5, 15), 2); // 2.5
    EXPECT_EQ(platform::pixelsFromTwips(-22.5, 15), -2);
    EXPECT_EQ(platform::twipsFromPixels(3, 12.5), 38); // 37.5
}

#include "classicconvert_test.moc"
