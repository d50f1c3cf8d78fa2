#include "handlerfixture.h"

#include "core/handlersettings.h"
#include "core/mailvalues.h"

#include <trapwell/comtypes.h>

using trapwell::core::HandlerSettings;
using trapwell::core::MailValues;

TEST_F(HandlerTest, DestinationDropsOneTrailingSeparatorAndCreatesOneLevel) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp.path()));
    ASSERT_TRUE(QFile("plain").open(QIODevice::WriteOnly));
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
}

// Each refused value raises its number from the component and leaves the previous value.
TEST_F(HandlerTest, RefusedValuesRaiseTheirNumberAndKeepThePreviousValue) {
    EXPECT_EQ(errorOf([&] { handler.ADOVersion(); }).number(), 91); // no Cn yet
    AppInfo app;
    QObject open, closed, half;
    give(open, {{"ConnectionString", "Driver=SQLite;Database=x.db"}, {"Version", "2.8"}});
    give(closed, {{"ConnectionString", QString()}});
    give(half, {{"ProductName", "Half"}, {"Major", 1}, {"Minor", 1}});
    handler.setAppObject(&app);
    handler.setCn(QVariant::fromValue(&open));
    handler.setReportUrl("http://127.0.0.1:9/reports");
    const QString deep = temp.filePath("no/such/folder");
    const auto saved = [&](const char* key, const char* value) {
        HandlerSettings::write(key, value);
        qstrcmp(key, "EmailType") == 0 ? void(handler.EmailType()) : void(handler.EmailSettings());
    };
    const struct {
        const char* name;
        std::function<void()> set;
        quint32 number;
        const char* description = nullptr; // the component's own texts
    } rows[] = {
        {"Cn of another type", [&] { handler.setCn(42); }, 0x800403E9u,
         "Must pass in a valid connection or database object"},
        {"Cn not open", [&] { handler.setCn(QVariant::fromValue(&closed)); }, 0x800403EAu,
         "ADO connection must be open before passing to the Error Object"},
        {"Cn nothing", [&] { handler.setCn(QVariant::fromValue<QObject*>(nullptr)); }, 91},
        {"AppObject without Revision", [&] { handler.setAppObject(&half); }, 438},
        {"Destination two levels deep", [&] { handler.setDestination(deep); }, 76},
        {"RepeatWindow negative", [&] { handler.setRepeatWindow(-1); }, 380},
        {"TraceLimit negative", [&] { handler.setTraceLimit(-1); }, 380},
        {"TraceFlushInterval negative", [&] { handler.setTraceFlushInterval(-1); }, 380},
        {"ReportUrl not http", [&] { handler.setReportUrl("ftp://h/x"); }, 380},
        {"EmailType saved as text", [&] { saved("EmailType", "x"); }, 13},
        {"EmailType saved too large", [&] { saved("EmailType", "99999999999"); }, 6},
        {"EmailSettings saved as text", [&] { saved("EmailSettings", "maybe"); }, 13},
    };
    for (const auto& row : rows) {
        const trapwell::RuntimeError e = errorOf(row.set);
        EXPECT_EQ(quint32(e.number()), row.number) << row.name;
        EXPECT_EQ(e.source(), "Trapwell") << row.name;
        if (row.description) {
            EXPECT_EQ(e.description(), row.description) << row.name;
        }
    }
    EXPECT_EQ(handler.Cn(), &open);
    EXPECT_EQ(handler.ADOVersion(), "2.8");
    EXPECT_EQ(handler.AppObject(), &half);  // the reference is kept although the title failed
    EXPECT_EQ(handler.Destination(), deep); // stored before the creation failed
    EXPECT_EQ(handler.RepeatWindow(), 0);
    EXPECT_EQ(handler.TraceLimit(), 8 * 1024 * 1024);
    EXPECT_EQ(handler.TraceFlushInterval(), 0);
    EXPECT_EQ(handler.ReportUrl(), "http://127.0.0.1:9/reports");
    handler.TransmitMail("x");
    EXPECT_EQ(ports->mails.back().subject, "Trainer 2.1.7 Application Error");
}

// Saved settings are read every time; mail values are shared by the handlers of a thread; the
// address, the mail and the settings dialog go through the ports.
TEST_F(HandlerTest, SettingsAreReadEveryTimeAndMailAndUrlGoThroughThePorts) {
    const auto stored = [](const char* key) { return HandlerSettings::read(key, "<none>"); };
    EXPECT_EQ(handler.EmailType(), trapwell::aeOutlook);
    EXPECT_TRUE(handler.EmailSettings());
    handler.setEmailType(trapwell::aeSMTP);
    handler.setEmailSettings(false);
    EXPECT_EQ(stored("EmailType"), "2");
    EXPECT_EQ(stored("EmailSettings"), "False");
    EXPECT_FALSE(handler.EmailSettings());
    HandlerSettings::write("EmailType", "1");
    EXPECT_EQ(handler.EmailType(), trapwell::aeDefault);
    HandlerSettings::write("EmailSettings", "-1");
    EXPECT_TRUE(handler.EmailSettings());

    handler.setSMTPMailServer("mail.example.org");
    EXPECT_EQ(stored("SMTPMailServer"), "mail.example.org");
    handler.setFromEmailAddress("mailto:me@host");
    EXPECT_EQ(MailValues::current().FromEmailAddress, "me@host");
    create().setFromName("Second");
    EXPECT_EQ(MailValues::current().FromName, "Second");
    EXPECT_EQ(MailValues::current().SMTPMailServer, "mail.example.org");
    QString otherThreadServer = "<unset>";
    std::thread([&] { otherThreadServer = MailValues::current().SMTPMailServer; }).join();
    EXPECT_TRUE(otherThreadServer.isEmpty());

    // The mail goes to the address without any exact "mailto:" (its subject: the table above);
    // a failing mail ends silently, the pointer not left busy (checked by the fixture).
    handler.setURL(QVariant(42));
    EXPECT_EQ(ports->address, "42");
    EXPECT_EQ(handler.URL(), QVariant("42"));

    EXPECT_EQ(handler.SysObject().get(), handler.SysObject().get()); // created once and kept
    handler.setToName("Help Desk");
    ports->mailFailure = [] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        throw trapwell::RuntimeError(429, {}, "no mailer");
    };
    for (const auto& [in, out] : {std::pair{"mailto:help@example.org", "help@example.org"},
                                  {"MAILTO:helpdesk", "MAILTO:helpdesk"},
                                  {"mailto:a@b;mailto:c@d", "a@b;c@d"}}) {
        handler.setEmailAddress(QString::fromLatin1(in));
        handler.TransmitMail("the report");
        const trapwell::core::MailRequest& mail = ports->mails.back();
        EXPECT_EQ(mail.address, QLatin1String(out));
        EXPECT_EQ(mail.toName, "Help Desk");
    }
    EXPECT_EQ(ports->mails.size(), 3u);
    handler.ChangeEmailSettings();
    EXPECT_EQ(ports->settingsShown, 1);
}
