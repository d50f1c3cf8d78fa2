#include "handlerfixture.h"

#include "core/handlersettings.h"
#include "core/mailvalues.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <thread>

using trapwell::RuntimeError;
using trapwell::core::HandlerSettings;
using trapwell::core::MailValues;

namespace {

// An object with the given members, as hosts hand them over.
void give(QObject& object, const QVariantMap& members) {
    for (auto it = members.begin(); it != members.end(); ++it)
        object.setProperty(it.key().toLatin1().constData(), it.value());
}

void store(const QString& key, const QString& value) {
    HandlerSettings::write(key, value);
}
QString stored(const QString& key) {
    return HandlerSettings::read(key, QStringLiteral("<none>"));
}

} // namespace

TEST_F(HandlerTest, DestinationDropsOneTrailingSeparatorAndCreatesOneLevel) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp.path()));
    ASSERT_TRUE(QFile(QStringLiteral("plain")).open(QIODevice::WriteOnly));
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Logs\\", "C:\\Logs"}, {" C:\\Logs/ ", "C:\\Logs"}, {"C:\\Logs\\\\", "C:\\Logs\\"},
        {"C:\\Logs", "C:\\Logs"},   {" Logs ", " Logs "},        {"Logs/", "Logs"},
        {"plain", "plain"}, // a file of that name counts as existing
    };
    for (const auto& [in, out] : cases) {
        handler.setDestination(QString::fromLatin1(in));
        EXPECT_EQ(handler.Destination(), QString::fromLatin1(out)) << in;
        EXPECT_TRUE(QFileInfo::exists(QString::fromLatin1(out))) << out;
    }
    QDir::setCurrent(previous);

    const QString deep = temp.filePath(QStringLiteral("no/such/folder"));
    const RuntimeError e = errorOf([&] { handler.setDestination(deep); });
    EXPECT_EQ(e.number(), 76);
    EXPECT_EQ(e.source(), "Trapwell");
    EXPECT_EQ(handler.Destination(), deep); // stored before the creation failed
}

TEST_F(HandlerTest, MailAddressesLoseEveryExactMailtoPrefix) {
    for (const auto& [in, out] : {std::pair{"mailto:helpdesk", "helpdesk"},
                                  {"MAILTO:helpdesk", "MAILTO:helpdesk"},
                                  {"mailto:a@b;mailto:c@d", "a@b;c@d"}}) {
        handler.setEmailAddress(QString::fromLatin1(in));
        EXPECT_EQ(object().emailAddress(), QLatin1String(out));
    }
    handler.setFromEmailAddress(QStringLiteral("mailto:me@host"));
    EXPECT_EQ(MailValues::current().FromEmailAddress, "me@host");
}

TEST_F(HandlerTest, AppObjectBuildsTheTitleOrReportsTheMissingMember) {
    AppInfo app;
    handler.setAppObject(&app);
    EXPECT_EQ(object().appErrorTitle(), "Trainer 2.1.7 Application Error");
    EXPECT_EQ(handler.SysObject().get(), handler.SysObject().get()); // created once and kept

    QObject half;
    give(half, {{"ProductName", "Half"}, {"Major", 1}, {"Minor", 1}});
    const RuntimeError e = errorOf([&] { handler.setAppObject(&half); });
    EXPECT_EQ(e.number(), 438);
    EXPECT_EQ(e.source(), "Trapwell");
    EXPECT_EQ(handler.AppObject(), &half); // the reference is kept although the title failed
    EXPECT_EQ(object().appErrorTitle(), "Trainer 2.1.7 Application Error");
}

TEST_F(HandlerTest, CnAcceptsOnlyAnOpenConnectionAndKeepsThePreviousOne) {
    EXPECT_EQ(handler.Cn(), nullptr);
    EXPECT_EQ(errorOf([&] { handler.ADOVersion(); }).number(), 91);
    QObject open, closed;
    give(open, {{"ConnectionString", "Driver=SQLite;Database=x.db"}, {"Version", "2.8"}});
    give(closed, {{"ConnectionString", QString()}, {"Version", "2.8"}});
    handler.setCn(QVariant::fromValue(&open));
    EXPECT_EQ(handler.ADOVersion(), "2.8");

    RuntimeError e = errorOf([&] { handler.setCn(42); });
    EXPECT_EQ(quint32(e.number()), 0x800403E9u);
    EXPECT_EQ(e.source(), "Trapwell");
    EXPECT_EQ(e.description(), "Must pass in a valid connection or database object");
    EXPECT_EQ(handler.Cn(), &open);

    e = errorOf([&] { handler.setCn(QVariant::fromValue(&closed)); });
    EXPECT_EQ(quint32(e.number()), 0x800403EAu);
    EXPECT_EQ(e.description(), "ADO connection must be open before passing to the Error Object");
    EXPECT_EQ(handler.Cn(), &open);

    EXPECT_EQ(errorOf([&] { handler.setCn(QVariant::fromValue<QObject*>(nullptr)); }).number(), 91);
    EXPECT_EQ(handler.Cn(), &open);
}

TEST_F(HandlerTest, SavedSettingsAreReadEveryTimeWithDefaultsAndTypeErrors) {
    EXPECT_EQ(handler.EmailType(), trapwell::aeOutlook);
    EXPECT_TRUE(handler.EmailSettings());
    handler.setEmailType(trapwell::aeSMTP);
    handler.setEmailSettings(false);
    EXPECT_EQ(stored("EmailType"), "2");
    EXPECT_EQ(stored("EmailSettings"), "False");
    EXPECT_FALSE(handler.EmailSettings());

    // Changed behind the object's back: nothing is cached.
    store(QStringLiteral("EmailType"), QStringLiteral("1"));
    EXPECT_EQ(handler.EmailType(), trapwell::aeDefault);
    store(QStringLiteral("EmailSettings"), QStringLiteral("-1"));
    EXPECT_TRUE(handler.EmailSettings());

    store(QStringLiteral("EmailType"), QStringLiteral("x"));
    EXPECT_EQ(errorOf([&] { handler.EmailType(); }).number(), 13);
    store(QStringLiteral("EmailType"), QStringLiteral("99999999999"));
    EXPECT_EQ(errorOf([&] { handler.EmailType(); }).number(), 6);
    store(QStringLiteral("EmailSettings"), QStringLiteral("maybe"));
    EXPECT_EQ(errorOf([&] { handler.EmailSettings(); }).number(), 13);
}

TEST_F(HandlerTest, MailValuesAreSharedWithinAThreadOnly) {
    handler.setSMTPMailServer(QStringLiteral("mail.example.org"));
    handler.setFromName(QStringLiteral("Your App User"));
    EXPECT_EQ(stored("SMTPMailServer"), "mail.example.org");

    create().setFromName(QStringLiteral("Second"));
    EXPECT_EQ(MailValues::current().FromName, "Second");
    EXPECT_EQ(MailValues::current().SMTPMailServer, "mail.example.org");

    QString otherThreadServer = QStringLiteral("<unset>");
    std::thread([&] { otherThreadServer = MailValues::current().SMTPMailServer; }).join();
    EXPECT_TRUE(otherThreadServer.isEmpty());
}

TEST_F(HandlerTest, UrlMailAndSettingsGoThroughThePortsAndAFailingMailEndsSilently) {
    handler.setURL(QVariant(42));
    EXPECT_EQ(ports->dialog.address, "42");
    EXPECT_EQ(handler.URL(), QVariant(QStringLiteral("42")));

    AppInfo app;
    handler.setAppObject(&app);
    handler.setEmailAddress(QStringLiteral("mailto:help@example.org"));
    handler.setToName(QStringLiteral("Help Desk"));
    ports->mailFailure = [] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        throw trapwell::RuntimeError(429, {}, QStringLiteral("no mailer"));
    };
    handler.TransmitMail(QStringLiteral("the report"));
    ASSERT_EQ(ports->mails.size(), 1u);
    const trapwell::core::MailRequest& mail = ports->mails.front();
    EXPECT_EQ(mail.address, "help@example.org");
    EXPECT_EQ(mail.subject, "Trainer 2.1.7 Application Error");
    EXPECT_EQ(mail.toName, "Help Desk");
    EXPECT_EQ(mail.body, "the report");
    // The failure went nowhere and the pointer is the default one again.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    handler.ChangeEmailSettings();
    EXPECT_EQ(ports->settingsShown, 1);
}
