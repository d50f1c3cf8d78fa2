// Hosts bind to slot positions and identifiers, not to names: call every member by its
// position in the table of the interface pointer and check the identifiers' exact values.

#include <trapwell/clserrhandler.h>
#include <trapwell/clserrhandler2.h>
#include <trapwell/comptr.h>
#include <trapwell/errhandler.h>
#include <trapwell/events.h>
#include <trapwell/sysobj.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QObject>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trapwell;

namespace {

// Calls slot n of an interface: entries 0 to 2 belong to IUnknown.
template <class... A> HResult slot(void* itf, int n, A... args) {
    void** table = *reinterpret_cast<void***>(itf);
    using Fn = HResult (*)(void*, A...);
    return reinterpret_cast<Fn>(table[3 + n])(itf, args...);
}

template <class T> T get(void* itf, int n) {
    T value{};
    EXPECT_EQ(slot<T*>(itf, n, &value), status::ok) << "slot " << n;
    return value;
}

constexpr HResult classic(int number) {
    return HResult(0x800A0000u | unsigned(number));
}

class App : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Title MEMBER name)
    Q_PROPERTY(QString ProductName MEMBER name)
    Q_PROPERTY(int Major MEMBER major)
    Q_PROPERTY(int Minor MEMBER major)
    Q_PROPERTY(int Revision MEMBER major)
public:
    QString name = QStringLiteral("P");
    int major = 1;
};

} // namespace

TEST(InterfaceIdentifiers, HaveTheirPublishedValues) {
    EXPECT_EQ(LIBID_Trapwell.toString(), "{4D1D273F-574B-460D-AA30-957AAF0F87B6}");
    EXPECT_EQ(CLSID_clsErrHandler.toString(), "{02D76864-5CD8-402D-8225-B5177AC6ED23}");
    EXPECT_EQ(IID_clsErrHandler.toString(), "{236B20C6-80EF-48B0-A661-A57CE33BDA60}");
    EXPECT_EQ(DIID_clsErrHandlerEvents.toString(), "{DB63AAD3-C616-49EB-94B8-1E501340CE97}");
    EXPECT_EQ(CLSID_SysObj.toString(), "{25364A3D-E6E6-4150-ABFC-D0AD0B843AF1}");
    EXPECT_EQ(IID_SysObj.toString(), "{BE56D1A1-FDC7-4EB1-B0B3-BA88D37959B1}");
    EXPECT_EQ(ID_Email_Type.toString(), "{D96E121C-B2AD-4CCF-BCE2-987E9DBB99DE}");
    EXPECT_EQ(Guid::parse("{02d76864-5cd8-402d-8225-b5177ac6ed23}"), CLSID_clsErrHandler);
    EXPECT_FALSE(Guid::parse("02D76864-5CD8-402D-8225-B5177AC6ED23"));
    EXPECT_FALSE(Guid::parse("{02D76864-5CD8-402D-8225-B5177AC6ED2G}"));
    EXPECT_EQ(int(aeOutlook), 0);
    EXPECT_EQ(int(aeDefault), 1);
    EXPECT_EQ(int(aeSMTP), 2);
}

TEST(InterfaceSlots, EveryMemberOfTheHandlerAnswersAtItsPosition) {
    QTemporaryDir dir;
    ComPtr<IclsErrHandler> handler;
    ASSERT_EQ(createInstance(CLSID_clsErrHandler, IID_clsErrHandler, handler.putVoid()),
              status::ok);
    void* p = handler.get();

    // Read-only texts of a fresh object: slots 0 to 9.
    EXPECT_EQ(get<QString>(p, 0), "");                                    // ErrorLogDisplay
    EXPECT_EQ(get<QVariant>(p, 1).toStringList(), QStringList({"", ""})); // CallStack
    EXPECT_EQ(get<QVariant>(p, 3), QVariant(QString()));                  // CustomErrMessage
    EXPECT_EQ(get<QString>(p, 4), "0");                                   // ErrorType
    EXPECT_EQ(get<QString>(p, 6), "");                                    // ErrDesc
    EXPECT_EQ(get<std::int32_t>(p, 7), 0);                                // ErrNum
    EXPECT_EQ(get<QString>(p, 8), "");                                    // ProcName
    EXPECT_EQ(get<QString>(p, 9), "0");                                   // ErrLine

    // Puts paired with their gets.
    EXPECT_EQ(slot<const QString&>(p, 17, QStringLiteral("loading")), status::ok);
    EXPECT_EQ(get<QString>(p, 2), "loading"); // CurrentOperation
    EXPECT_EQ(slot<const QString&>(p, 18, dir.path() + u'/'), status::ok);
    EXPECT_EQ(get<QString>(p, 5), dir.path()); // Destination

    QVariant number = 7;
    EXPECT_EQ(quint32(slot<QVariant*>(p, 10, &number)), 0x800403E9u); // Cn put
    EXPECT_EQ(get<QObject*>(p, 11), nullptr);                         // Cn get
    QString version;
    EXPECT_EQ(slot<QString*>(p, 12, &version), classic(91)); // ADOVersion without Cn

    App app;
    EXPECT_EQ(slot<QObject*>(p, 13, &app), status::ok);
    EXPECT_EQ(get<QObject*>(p, 14), &app);

    bool no = false;                                // a modal dialog would wait for a user
    EXPECT_EQ(slot<bool*>(p, 15, &no), status::ok); // UseInterface
    QString address = QStringLiteral("mailto:x@y");
    EXPECT_EQ(slot<QString*>(p, 16, &address), status::ok); // EmailAddress
    EXPECT_EQ(slot<bool>(p, 19, true), status::ok);         // TraceExecution

    // The stack: Push 22, AddParam 23, ShowParam 30, Pop 21, HandleError 20.
    QString proc = QStringLiteral("Form1.Form_Load");
    std::int32_t result = -1;
    EXPECT_EQ(slot<QString*>(p, 22, &proc, &result), status::ok);
    EXPECT_EQ(result, 0);
    QString name = QStringLiteral("Cancel"), type = QStringLiteral("Integer");
    QVariant value = 0;
    EXPECT_EQ(slot<QString*>(p, 23, &name, &type, &value), status::ok);
    EXPECT_EQ(get<QString>(p, 30),
              "\r\n1st Param:\r\nName: \tCancel\r\nType : \tInteger\r\nValue: \t0\r\n");
    EXPECT_EQ(get<QVariant>(p, 1).toStringList(), QStringList({"", "Form1.Form_Load"}));
    QFile trace(dir.filePath(QStringLiteral("Trace.log")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_EQ(trace.readAll(), "Form1.Form_Load\r\n");
    QString message;
    result = -1;
    EXPECT_EQ((slot<const QString&, double, std::int32_t, QString*, std::int32_t*>(
                  p, 20, QStringLiteral("x"), 5.0, 10, &message, &result)),
              status::ok);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(get<QString>(p, 8), "Form1.Form_Load");                 // ProcName
    EXPECT_EQ(get<QVariant>(p, 1).toStringList(), QStringList({""})); // emptied
    result = -1;
    EXPECT_EQ(slot<std::int32_t*>(p, 21, &result), status::ok); // Pop on the empty stack
    EXPECT_EQ(result, 0);

    // Mail values and saved settings: 24 to 29, 31, 32.
    QString text = QStringLiteral("Someone");
    EXPECT_EQ(slot<QString*>(p, 24, &text), status::ok); // FromName
    EXPECT_EQ(slot<QString*>(p, 25, &text), status::ok); // FromEmailAddress
    QString server = QStringLiteral("smtp.example.org");
    EXPECT_EQ(slot<QString*>(p, 26, &server), status::ok); // SMTPMailServer
    EXPECT_EQ(QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn"))
                  .value(QStringLiteral("ErrHandler/SMTPMailServer")),
              "smtp.example.org");
    EXPECT_EQ(slot<QString*>(p, 27, &text), status::ok); // ToName
    Email_Type kind = aeSMTP;
    EXPECT_EQ(slot<Email_Type*>(p, 28, &kind), status::ok);
    EXPECT_EQ(get<Email_Type>(p, 29), aeSMTP);
    EXPECT_EQ(slot<bool>(p, 32, false), status::ok);
    EXPECT_EQ(get<bool>(p, 31), false);
    EXPECT_EQ(slot<bool>(p, 32, true), status::ok);
    EXPECT_EQ(get<bool>(p, 31), true);

    // Flags: LogEvent 33/34 and 39 to 46.
    for (int getSlot : {33, 39, 41, 43, 45}) {
        const int putSlot = getSlot + 1;
        EXPECT_FALSE(get<bool>(p, getSlot)) << getSlot;
        EXPECT_EQ(slot<bool>(p, putSlot, true), status::ok) << putSlot;
        EXPECT_TRUE(get<bool>(p, getSlot)) << getSlot;
    }

    // SysObject, then SysObj's own nine slots.
    ISysObj* sys = get<ISysObj*>(p, 35);
    ASSERT_NE(sys, nullptr);
    EXPECT_EQ(get<QString>(sys, 0), "Linux");
    EXPECT_TRUE(get<QString>(sys, 1).contains(u'.'));
    for (int n = 2; n <= 4; ++n)
        EXPECT_FALSE(get<QString>(sys, n).isEmpty()) << n;
    for (int n = 5; n <= 8; ++n)
        EXPECT_TRUE(get<QString>(sys, n).endsWith(u'K')) << n;
    sys->release();

    // ShowErrorLog with a mode it does not know does nothing.
    EXPECT_EQ(slot<std::int16_t>(p, 36, std::int16_t(3)), status::ok);
    // URL put 51 and get 50 reach the error dialog's posting address.
    EXPECT_EQ(slot<const QVariant&>(p, 51, QVariant(42)), status::ok);
    EXPECT_EQ(get<QVariant>(p, 50), QVariant(QStringLiteral("42")));
    // TransmitMail 38 with delivery declined: only the clipboard gets the text.
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn"))
        .setValue(QStringLiteral("ErrHandler/EmailSettings"), QStringLiteral("False"));
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn"))
        .setValue(QStringLiteral("ErrHandler/EmailFlag"), QStringLiteral("False"));
    EXPECT_EQ(slot<const QString&>(p, 38, QStringLiteral("report")), status::ok);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "report");

    // The report's texts: 0, then 47 to 49.
    EXPECT_TRUE(get<QString>(p, 0).startsWith("P Application Error Information\r\n"));
    EXPECT_TRUE(
        get<QString>(p, 47).startsWith("App. Information\r\n=============\r\nTitle:\tP\r\n"));
    EXPECT_TRUE(get<QString>(p, 48).startsWith("System Information\r\n"));
    EXPECT_EQ(get<QString>(p, 49), "Database Information\r\n==============\r\n");
}

TEST(InterfaceSlots, TheSecondInterfaceAnswersAtItsPositions) {
    EXPECT_EQ(IID_clsErrHandler2.toString(), "{F26A6FFF-7001-42EC-B184-98F1954EC4A3}");
    ComPtr<IclsErrHandler> handler;
    ASSERT_EQ(createInstance(CLSID_clsErrHandler, IID_clsErrHandler, handler.putVoid()),
              status::ok);
    ComPtr<IclsErrHandler2> second = handler.as<IclsErrHandler2>(IID_clsErrHandler2);
    ASSERT_TRUE(second);
    // One object: the second interface leads back to the first.
    EXPECT_EQ(second.as<IclsErrHandler>(IID_clsErrHandler).get(), handler.get());
    void* p = second.get();

    // Counts: RepeatWindow 0/1 and TraceFlushInterval 15/16, none below zero.
    for (int getSlot : {0, 15}) {
        EXPECT_EQ(get<std::int32_t>(p, getSlot), 0) << getSlot;
        EXPECT_EQ(slot<std::int32_t>(p, getSlot + 1, 60), status::ok) << getSlot;
        EXPECT_EQ(get<std::int32_t>(p, getSlot), 60) << getSlot;
        EXPECT_EQ(slot<std::int32_t>(p, getSlot + 1, -1), classic(380)) << getSlot;
    }
    EXPECT_EQ(get<std::int64_t>(p, 2), 8 * 1024 * 1024); // TraceLimit
    EXPECT_EQ(slot<std::int64_t>(p, 3, std::int64_t(1) << 40), status::ok);
    EXPECT_EQ(get<std::int64_t>(p, 2), std::int64_t(1) << 40);

    // Flags: Outbox 4/5, PrivateReports 6/7, CrashCapture 12/13.
    for (int getSlot : {4, 6, 12}) {
        EXPECT_FALSE(get<bool>(p, getSlot)) << getSlot;
        EXPECT_EQ(slot<bool>(p, getSlot + 1, true), status::ok) << getSlot;
        EXPECT_TRUE(get<bool>(p, getSlot)) << getSlot;
    }
    for (int putSlot : {5, 13}) // no outbox or crash capture left behind
        EXPECT_EQ(slot<bool>(p, putSlot, false), status::ok) << putSlot;
    EXPECT_EQ(get<QString>(p, 14), ""); // PendingCrash

    EXPECT_EQ(get<QString>(p, 8), "password,passwd,token,secret,key,email,mail");
    // The host's own list replaces the default one, blanks and empty names dropped.
    EXPECT_EQ(slot<const QString&>(p, 9, QStringLiteral(" pin, ,otp ")), status::ok);
    EXPECT_EQ(get<QString>(p, 8), "pin,otp");

    EXPECT_EQ(get<QString>(p, 10), ""); // ReportUrl
    EXPECT_EQ(slot<const QString&>(p, 11, QStringLiteral("https://k@collector.example/3")),
              status::ok);
    EXPECT_EQ(get<QString>(p, 10), "https://k@collector.example/3");
    EXPECT_EQ(slot<const QString&>(p, 11, QStringLiteral("file:///tmp/x")), classic(380));
    EXPECT_EQ(slot<const QString&>(p, 11, QString()), status::ok);

    EXPECT_EQ(slot<>(p, 17), status::ok); // FlushTrace
}

#include "interfaceslots_test.moc"
