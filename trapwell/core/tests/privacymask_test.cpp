#include "handlerfixture.h"

#include "core/privacymask.h"

#include <QDir>

using trapwell::core::PrivacyMask;

namespace {

const QString report = QStringLiteral(
    "Current Directory:\t/home/alice/work\r\n"
    "Path:\t\t/home/alice/app\r\n"
    "Error Procedure:\tForm1.Send\r\n"
    "1st Param:\r\nName: \tstrPassword\r\nType : \tString\r\nValue: \thunter2\r\n\r\n"
    "2nd Param:\r\nName: \tcount\r\nType : \tInteger\r\nValue: \t5\r\n\r\n"
    "3rd Param:\r\nName: \tsToken\r\nType : \tString\r\nValue: \t\r\n"
    "Sent by alice on lab7 to Alice.B-C@mail.example.org; alicea and lab7x stay.\r\n");

} // namespace

TEST(PrivacyMask, HidesHomeNamesAddressesAndSecretParameterValues) {
    const QString masked = PrivacyMask(QStringLiteral("/home/alice"), QStringLiteral("alice"),
                                       QStringLiteral("lab7"), PrivacyMask::defaultParameterNames())
                               .apply(report);
    EXPECT_EQ(masked,
              "Current Directory:\t~/work\r\n"
              "Path:\t\t~/app\r\n"
              "Error Procedure:\tForm1.Send\r\n"
              "1st Param:\r\nName: \tstrPassword\r\nType : \tString\r\nValue: \t<masked>\r\n\r\n"
              "2nd Param:\r\nName: \tcount\r\nType : \tInteger\r\nValue: \t5\r\n\r\n"
              "3rd Param:\r\nName: \tsToken\r\nType : \tString\r\nValue: \t\r\n"
              "Sent by <user> on <host> to <email>; alicea and lab7x stay.\r\n");

    // The list decides which values go.
    const QString onlyCount = PrivacyMask(QStringLiteral("/home/alice"), QStringLiteral("alice"),
                                          QStringLiteral("lab7"), {QStringLiteral("COUNT")})
                                  .apply(report);
    EXPECT_TRUE(onlyCount.contains("Value: \thunter2\r\n"));
    EXPECT_TRUE(onlyCount.contains("Name: \tcount\r\nType : \tInteger\r\nValue: \t<masked>"));

    // By default, this user's home and name.
    const QString home = QDir::homePath();
    const QString user = qEnvironmentVariable("USER");
    const QString mine =
        PrivacyMask().apply(QStringLiteral("Path:\t\t") + home + QStringLiteral("/app\r\nuser ") +
                            user + QStringLiteral(" mail me@example.com\r\n"));
    EXPECT_FALSE(mine.contains(home));
    if (user.size() > 1) {
        EXPECT_FALSE(mine.contains(QStringLiteral(" ") + user + QStringLiteral(" ")));
    }
    EXPECT_FALSE(mine.contains(u'@'));
}
