#include "handlerfixture.h"

#include "core/mailvalues.h"

#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>

#include <thread>

using trapwell::RuntimeError;

namespace {

class Connection : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ConnectionString MEMBER ConnectionString)
    Q_PROPERTY(QString Version MEMBER Version)
public:
    explicit Connection(QString cs, QString version = QStringLiteral("2.8"))
        : ConnectionString(std::move(cs)), Version(std::move(version)) {}
    QString ConnectionString;
    QString Version;
};

class NoRevision : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ProductName READ productName CONSTANT)
    Q_PROPERTY(int Major READ one CONSTANT)
    Q_PROPERTY(int Minor READ one CONSTANT)
public:
    QString productName() const { return QStringLiteral("Half"); }
    int one() const { return 1; }
};

void store(const QString& key, const QString& value) {
    platform::SettingsStore::current().SaveSetting(QStringLiteral("Halvorn"),
                                                   QStringLiteral("ErrHandler"), key, value);
}
QString stored(const QString& key) {
    return platform::SettingsStore::current().GetSetting(
        QStringLiteral("Halvorn"), QStringLiteral("ErrHandler"), key, QStringLiteral("<none>"));
}

} // namespace

TEST_F(HandlerTest, FreshObjectHasTheDocumentedDefaults) {
    EXPECT_EQ(handler.ErrorType(), "0");
    EXPECT_EQ(handler.ErrLine(), "0");
    EXPECT_EQ(handler.ErrNum(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({QString(), QString()}));
    EXPECT_TRUE(handler.Destination().isEmpty());
    EXPECT_FALSE(handler.LogEvent());
    EXPECT_FALSE(handler.PostAvailable());
    EXPECT_FALSE(handler.ShowAppInfo() || handler.ShowSysInfo() || handler.ShowDBInfo());
    EXPECT_EQ(handler.Cn(), nullptr);
    EXPECT_EQ(handler.AppObject(), nullptr);
    EXPECT_EQ(handler.CustomErrMessage(), QVariant(QString()));
}

TEST_F(HandlerTest, DestinationDropsOneTrailingSeparatorAndTheBlanksAroundIt) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp.path()));
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:\\Logs\\", "C:\\Logs"}, {" C:\\Logs/ ", "C:\\Logs"}, {"C:\\Logs\\\\", "C:\\Logs\\"},
        {"C:\\Logs", "C:\\Logs"},   {" Logs ", " Logs "},        {"Logs/", "Logs"},
    };
    for (const auto& c : cases) {
        handler.setDestination(QString::fromLatin1(c.in));
        EXPECT_EQ(handler.Destination(), QString::fromLatin1(c.out)) << c.in;
        EXPECT_TRUE(QFileInfo::exists(QString::fromLatin1(c.out))) << c.out;
    }
    QDir::setCurrent(previous);
}

TEST_F(HandlerTest, DestinationCreatesOneLevelAndReportsAMissingParent) {
    const QString folder = temp.filePath(QStringLiteral("logs"));
    handler.setDestination(folder + u'/');
    EXPECT_TRUE(QFileInfo(folder).isDir());

    const QString deep = temp.filePath(QStringLiteral("no/such/folder"));
    const RuntimeError e = errorOf([&] { handler.setDestination(deep); });
    EXPECT_EQ(e.number(), 76);
    EXPECT_EQ(e.source(), "Trapwell");
    EXPECT_EQ(handler.Destination(), deep); // stored before the creation failed

    // A file of that name counts as existing: nothing is created, nothing fails.
    QFile file(temp.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    handler.setDestination(file.fileName());
    EXPECT_EQ(handler.Destination(), file.fileName());
}

TEST_F(HandlerTest, MailAddressesLoseEveryExactMailtoPrefix) {
    handler.setEmailAddress(QStringLiteral("mailto:helpdesk"));
    EXPECT_EQ(object().emailAddress(), "helpdesk");
    handler.setEmailAddress(QStringLiteral("MAILTO:helpdesk"));
    EXPECT_EQ(object().emailAddress(), "MAILTO:helpdesk");
    handler.setEmailAddress(QStringLiteral("mailto:a@b;mailto:c@d"));
    EXPECT_EQ(object().emailAddress(), "a@b;c@d");

    handler.setFromEmailAddress(QStringLiteral("mailto:me@host"));
    EXPECT_EQ(trapwell::core::MailValues::current().FromEmailAddress, "me@host");
}

TEST_F(HandlerTest, AppObjectBuildsTheTitleOrReportsTheMissingMember) {
    AppInfo app;
    handler.setAppObject(&app);
    EXPECT_EQ(object().appErrorTitle(), "Trainer 2.1.7 Application Error");
    EXPECT_EQ(handler.AppObject(), &app);

    NoRevision half;
    const RuntimeError e = errorOf([&] { handler.setAppObject(&half); });
    EXPECT_EQ(e.number(), 438);
    EXPECT_EQ(e.source(), "Trapwell");
    EXPECT_EQ(handler.AppObject(), &half); // the reference is kept although the title failed
    EXPECT_EQ(object().appErrorTitle(), "Trainer 2.1.7 Application Error");
}

TEST_F(HandlerTest, CnAcceptsOnlyAnOpenConnectionAndKeepsThePreviousOne) {
    Connection open(QStringLiteral("Driver=SQLite;Database=x.db"), QStringLiteral("2.8"));
    handler.setCn(QVariant::fromValue(&open));
    EXPECT_EQ(handler.Cn(), &open);
    EXPECT_EQ(handler.ADOVersion(), "2.8");

    RuntimeError e = errorOf([&] { handler.setCn(42); });
    EXPECT_EQ(quint32(e.number()), 0x800403E9u);
    EXPECT_EQ(e.source(), "Trapwell");
    EXPECT_EQ(e.description(), "Must pass in a valid connection or database object");
    EXPECT_EQ(handler.Cn(), &open);

    Connection closed{QString()};
    e = errorOf([&] { handler.setCn(QVariant::fromValue(&closed)); });
    EXPECT_EQ(quint32(e.number()), 0x800403EAu);
    EXPECT_EQ(e.description(), "ADO connection must be open before passing to the Error Object");
    EXPECT_EQ(handler.Cn(), &open);

    e = errorOf([&] { handler.setCn(QVariant::fromValue<QObject*>(nullptr)); });
    EXPECT_EQ(e.number(), 91);
    EXPECT_EQ(handler.Cn(), &open);
}

TEST_F(HandlerTest, ADOVersionWithoutAConnectionFails) {
    EXPECT_EQ(errorOf([&] { handler.ADOVersion(); }).number(), 91);
}

TEST_F(HandlerTest, SavedSettingsAreReadEveryTimeWithDefaultsAndTypeErrors) {
    EXPECT_EQ(handler.EmailType(), trapwell::aeOutlook);
    EXPECT_TRUE(handler.EmailSettings());

    handler.setEmailType(trapwell::aeSMTP);
    EXPECT_EQ(stored("EmailType"), "2");
    EXPECT_EQ(handler.EmailType(), trapwell::aeSMTP);
    handler.setEmailSettings(false);
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
    const RuntimeError e = errorOf([&] { handler.EmailSettings(); });
    EXPECT_EQ(e.number(), 13);
    EXPECT_EQ(e.source(), "Trapwell");
}

TEST_F(HandlerTest, MailValuesAreSharedWithinAThreadOnly) {
    handler.setSMTPMailServer(QStringLiteral("mail.example.org"));
    handler.setFromName(QStringLiteral("Your App User"));
    EXPECT_EQ(stored("SMTPMailServer"), "mail.example.org");

    trapwell::ErrHandler second = create();
    second.setFromName(QStringLiteral("Second"));
    EXPECT_EQ(trapwell::core::MailValues::current().FromName, "Second");
    EXPECT_EQ(trapwell::core::MailValues::current().SMTPMailServer, "mail.example.org");

    QString otherThreadServer = QStringLiteral("<unset>");
    std::thread([&] {
        otherThreadServer = trapwell::core::MailValues::current().SMTPMailServer;
    }).join();
    EXPECT_TRUE(otherThreadServer.isEmpty());
}

TEST_F(HandlerTest, SysObjectIsCreatedOnceAndKept) {
    const auto first = handler.SysObject();
    const auto again = handler.SysObject();
    EXPECT_EQ(first.get(), again.get());
    EXPECT_FALSE(first.OsVersion().isEmpty());
}

#include "errhandlerproperties_test.moc"
