// Hosts bind to slot positions and identifiers, not to names: every member is called by its
// position in the table of the interface pointer, and the identifiers' exact values are checked.

#include "platform/tests/support/settings.h"

#include <trapwell/clserrhandler2.h>
#include <trapwell/comtypes.h>
#include <trapwell/errhandler.h>
#include <trapwell/events.h>

#include <QClipboard>
#include <QDebug>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <type_traits>

using namespace trapwell;

namespace {

// Calls slot n of an interface: entries 0 to 2 belong to IUnknown.
template <class... A> HResult call(void* itf, int n, A... args) {
    return reinterpret_cast<HResult (*)(void*, A...)>((*static_cast<void***>(itf))[3 + n])(itf,
                                                                                           args...);
}

// "ok", "error N" for a classic error number, else the status in hex.
QString statusText(HResult r) {
    const auto code = quint32(r);
    if (code >> 16 == 0x800A)
        return QStringLiteral("error %1").arg(code & 0xFFFF);
    return r == status::ok ? QStringLiteral("ok") : "0x" + QString::number(code, 16).toUpper();
}
// A value as text: a QVariant as Qt shows it for debugging, with its type and strings in
// quotes; an object by its name.
template <class T> QString text(const T& value) {
    QString out;
    if constexpr (std::is_same_v<T, QObject*>)
        out = value ? value->objectName() : QStringLiteral("null");
    else if constexpr (std::is_same_v<T, QVariant>)
        QDebug(&out).nospace() << value;
    else
        out = QVariant::fromValue(value).toString();
    return out;
}

template <class A> using Value = std::remove_cvref_t<std::remove_pointer_t<A>>;
template <class A> A pass(Value<A>& value) {
    if constexpr (std::is_pointer_v<A>)
        return &value;
    else
        return value;
}

using Call = std::function<QString(void*, int)>;

// Slot n called with the values passed as the A: its status, then each value passed by
// pointer as the call left it.
template <class... A> Call slot(Value<A>... values) {
    return [=](void* itf, int n) mutable {
        QString answer = statusText(call<A...>(itf, n, pass<A>(values)...));
        ((answer += std::is_pointer_v<A> ? u' ' + text(values) : QString()), ...);
        return answer;
    };
}
template <class T> const Call get = slot<T*>(T{});
// A flag: read, set through the next slot, read again.
const Call flag = [](void* itf, int n) {
    QString answer = get<bool>(itf, n);
    answer += u' ' + slot<bool>(true)(itf, n + 1);
    return answer + u' ' + get<bool>(itf, n);
};

struct Row {
    int slot;
    Call call;
    QString expected; // or "~" and a pattern for the whole answer, for the machine's own values
};

void run(void* itf, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        const QString got = row.call(itf, row.slot);
        if (!row.expected.startsWith(u'~'))
            EXPECT_EQ(got.toStdString(), row.expected.toStdString()) << "slot " << row.slot;
        else
            EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(row.expected.mid(1)),
                                           QRegularExpression::DotMatchesEverythingOption)
                            .match(got)
                            .hasMatch())
                << "slot " << row.slot << ": " << got.toStdString();
    }
}

class InterfaceSlots : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(createInstance(CLSID_clsErrHandler, IID_clsErrHandler, handler.putVoid()),
                  status::ok);
    }
    void TearDown() override { testsettings::forget(QStringLiteral("Halvorn")); }
    ComPtr<IclsErrHandler> handler;
};

} // namespace

TEST(InterfaceIdentifiers, HaveTheirPublishedValues) {
    EXPECT_EQ(LIBID_Trapwell.toString(), "{4D1D273F-574B-460D-AA30-957AAF0F87B6}");
    EXPECT_EQ(CLSID_clsErrHandler.toString(), "{02D76864-5CD8-402D-8225-B5177AC6ED23}");
    EXPECT_EQ(IID_clsErrHandler.toString(), "{236B20C6-80EF-48B0-A661-A57CE33BDA60}");
    EXPECT_EQ(IID_clsErrHandler2.toString(), "{F26A6FFF-7001-42EC-B184-98F1954EC4A3}");
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

// In order on one object, each put followed by the read that shows it.
TEST_F(InterfaceSlots, EveryMemberOfTheHandlerAnswersAtItsPosition) {
    QTemporaryDir dir;
    QObject app;
    app.setObjectName(QStringLiteral("app"));
    for (const char* name : {"Title", "ProductName"})
        app.setProperty(name, QStringLiteral("P"));
    for (const char* name : {"Major", "Minor", "Revision"})
        app.setProperty(name, 1);
    ISysObj* sys = nullptr;
    // Delivery declined: TransmitMail only puts the text on the clipboard.
    testsettings::store(QStringLiteral("Halvorn"), QStringLiteral("ErrHandler/EmailFlag"), "False");
    run(handler.get(),
        {
            {3, get<QVariant>, R"(ok QVariant(QString, ""))"},       // CustomErrMessage
            {4, get<QString>, "ok 0"},                               // ErrorType
            {17, slot<const QString&>("loading"), "ok"},             // CurrentOperation
            {2, get<QString>, "ok loading"},                         //
            {18, slot<const QString&>(dir.path() + u'/'), "ok"},     // Destination
            {5, get<QString>, "ok " + dir.path()},                   //
            {10, slot<QVariant*>(7), "0x800403E9 QVariant(int, 7)"}, // Cn: a number is none
            {11, get<QObject*>, "ok null"},                          //
            {12, get<QString>, "error 91 "},                         // ADOVersion without Cn
            {13, [&](void* p, int n) { return statusText(call<QObject*>(p, n, &app)); }, "ok"},
            {14, get<QObject*>, "ok app"},        // AppObject
            {15, slot<bool*>(false), "ok false"}, // UseInterface: a dialog would wait for a user
            {16, slot<QString*>("mailto:x@y"), "ok mailto:x@y"}, // EmailAddress
            {19, slot<bool>(true), "ok"},                        // TraceExecution
            {22, slot<QString*, std::int32_t*>("Form1.Form_Load", -1), "ok Form1.Form_Load 0"},
            {23, slot<QString*, QString*, QVariant*>("Cancel", "Integer", 0),
             "ok Cancel Integer QVariant(int, 0)"}, // AddParam, shown by ShowParam
            {30, get<QString>,
             "ok \r\n1st Param:\r\nName: \tCancel\r\nType : \tInteger\r\nValue: \t0\r\n"},
            {1, get<QVariant>, R"(ok QVariant(QStringList, QList("", "Form1.Form_Load")))"},
            {20,
             slot<const QString&, double, std::int32_t, QString*, std::int32_t*>("x", 5, 10, {},
                                                                                 -1),
             "ok  0"},                                     // HandleError
            {6, get<QString>, "ok x"},                     // ErrDesc
            {7, get<std::int32_t>, "ok 5"},                // ErrNum
            {8, get<QString>, "ok Form1.Form_Load"},       // ProcName
            {9, get<QString>, "ok 10"},                    // ErrLine
            {21, get<std::int32_t>, "ok 0"},               // Pop on the stack the report emptied
            {24, slot<QString*>("Someone"), "ok Someone"}, // FromName
            {25, slot<QString*>("a@b.org"), "ok a@b.org"}, // FromEmailAddress
            {26, slot<QString*>("smtp.b.org"), "ok smtp.b.org"}, // SMTPMailServer
            {27, slot<QString*>("Other"), "ok Other"},           // ToName
            {28, slot<std::int32_t*>(aeSMTP), "ok 2"},           // EmailType
            {29, get<std::int32_t>, "ok 2"},                     //
            {32, slot<bool>(false), "ok"},                       // EmailSettings, true before
            {31, get<bool>, "ok false"},                         //
            {33, flag, "ok false ok ok true"},                   // LogEvent
            {39, flag, "ok false ok ok true"},                   // PostAvailable
            {41, flag, "ok false ok ok true"},                   // ShowAppInfo
            {43, flag, "ok false ok ok true"},                   // ShowSysInfo
            {45, flag, "ok false ok ok true"},                   // ShowDBInfo
            {35, [&](void* p, int n) { return statusText(call<ISysObj**>(p, n, &sys)); }, "ok"},
            {36, slot<std::int16_t>(3), "ok"},     // ShowErrorLog: an unknown mode does nothing
            {51, slot<const QVariant&>(42), "ok"}, // URL
            {50, get<QVariant>, R"(ok QVariant(QString, "42"))"}, //
            {38, slot<const QString&>("report"), "ok"},           // TransmitMail
            {0, get<QString>, "~ok P Application Error Information\r\n.*"},
            {47, get<QString>, "~ok App\\. Information\r\n=============\r\nTitle:\tP\r\n.*"},
            {48, get<QString>, "~ok System Information\r\n.*"},
            {49, get<QString>, "ok Database Information\r\n==============\r\n"},
        });
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "report");

    ASSERT_NE(sys, nullptr);
    utsname names{};
    int major = -1, minor = -1;
    ASSERT_EQ(uname(&names), 0);
    ASSERT_EQ(std::sscanf(names.release, "%d.%d", &major, &minor), 2);
    run(sys, {
                 {0, get<QString>, "ok Linux"},                                    // PlatForm
                 {1, get<QString>, QString::asprintf("ok %d.%02d", major, minor)}, // OsVersion
                 {2, get<QString>, "~ok \\d+"},                                    // Build
                 {3, get<QString>, "ok 0"},                                        // ServicePack
                 {4, get<QString>, "~ok .+"},                                      // Cpu
                 {5, get<QString>, "~ok .+K"}, // TotalPhysicalMemory
                 {6, get<QString>, "~ok .+K"}, // AvailablePhysicalMemory
                 {7, get<QString>, "~ok .+K"}, // TotalVirtualMemory
                 {8, get<QString>, "~ok .+K"}, // AvailableVirtualMemory
             });
    sys->release();
}

TEST_F(InterfaceSlots, TheSecondInterfaceAnswersAtItsPositions) {
    ComPtr<IclsErrHandler2> second = handler.as<IclsErrHandler2>(IID_clsErrHandler2);
    ASSERT_TRUE(second);
    // One object: the second interface leads back to the first.
    EXPECT_EQ(second.as<IclsErrHandler>(IID_clsErrHandler).get(), handler.get());
    const QString url = QStringLiteral("https://k@collector.example/3");
    run(second.get(),
        {
            {1, slot<std::int32_t>(60), "ok"},                    // RepeatWindow
            {0, get<std::int32_t>, "ok 60"},                      //
            {16, slot<std::int32_t>(70), "ok"},                   // TraceFlushInterval
            {15, get<std::int32_t>, "ok 70"},                     //
            {3, slot<std::int64_t>(std::int64_t(1) << 40), "ok"}, // TraceLimit
            {2, get<std::int64_t>, "ok 1099511627776"},
            {4, flag, "ok false ok ok true"},  // Outbox
            {6, flag, "ok false ok ok true"},  // PrivateReports
            {12, flag, "ok false ok ok true"}, // CrashCapture
            {5, slot<bool>(false), "ok"},      // no outbox left behind
            {13, slot<bool>(false), "ok"},     // nor crash capture
            {14, get<QString>, "ok "},         // PendingCrash
            {8, get<QString>,
             "ok password,passwd,token,secret,key,email,mail"}, // PrivateParameters
            // The host's own list replaces the default one, blanks and empty names dropped.
            {9, slot<const QString&>(" pin, ,otp "), "ok"},
            {8, get<QString>, "ok pin,otp"},
            {11, slot<const QString&>(url), "ok"}, // ReportUrl
            {10, get<QString>, "ok " + url},
            {11, slot<const QString&>("file:///tmp/x"), "error 380"},
            {17, slot<>(), "ok"}, // FlushTrace
        });
}
