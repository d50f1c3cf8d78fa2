#include "handlerfixture.h"

#include "core/errordialogport.h"

#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "platform/systemlog.h"

#include <QDir>
#include <QFile>
#include <QLocale>

using trapwell::core::ErrorDialogField;

namespace {

const QString crlf = QStringLiteral("\r\n");

class FixedClock final : public platform::Clock {
public:
    QDateTime now() const override { return {QDate(2026, 12, 6), QTime(17, 9, 38)}; }
};

class FullApp : public AppInfo {
    Q_OBJECT
    Q_PROPERTY(QString CompanyName MEMBER CompanyName)
    Q_PROPERTY(QString Comments MEMBER Empty)
    Q_PROPERTY(QString EXEName MEMBER EXEName)
    Q_PROPERTY(QString FileDescription MEMBER Empty)
    Q_PROPERTY(QString HelpFile MEMBER Empty)
    Q_PROPERTY(QString LegalCopyright MEMBER Empty)
    Q_PROPERTY(QString LegalTrademarks MEMBER Empty)
    Q_PROPERTY(int LogMode MEMBER LogMode)
    Q_PROPERTY(QString LogPath MEMBER Empty)
public:
    QString CompanyName = QStringLiteral("http://example.org");
    QString EXEName = QStringLiteral("trainer");
    QString Empty;
    int LogMode = 0;
};

// Writes down what happens, in order: the handler's events and what the dialog is told.
struct Journal {
    QStringList entries;
    QString errorLogWhenShown;
};

class RecordingDialog final : public trapwell::core::ErrorDialogPort {
public:
    explicit RecordingDialog(Journal& journal, QString errorLog)
        : journal_(journal), errorLog_(std::move(errorLog)) {}
    void setField(ErrorDialogField field, const QVariant& value) override {
        journal_.entries << QStringLiteral("field %1 = %2").arg(int(field)).arg(value.toString());
        fields[field] = value;
    }
    void refresh() override { journal_.entries << QStringLiteral("refresh"); }
    void showModal() override {
        journal_.entries << QStringLiteral("show");
        QFile log(errorLog_);
        journal_.errorLogWhenShown = log.open(QIODevice::ReadOnly) ? log.readAll() : QString();
    }
    std::map<ErrorDialogField, QVariant> fields;

private:
    Journal& journal_;
    QString errorLog_;
};

class RecordingSink final : public trapwell::IclsErrHandlerEvents {
public:
    RecordingSink(Journal& journal, bool cancel) : journal_(journal), cancel_(cancel) {}
    trapwell::HResult queryInterface(const trapwell::Guid& iid, void** out) override {
        *out = iid == trapwell::DIID_clsErrHandlerEvents || iid == trapwell::IID_IUnknown
                   ? static_cast<IclsErrHandlerEvents*>(this)
                   : nullptr;
        return *out ? trapwell::status::ok : trapwell::status::noInterface;
    }
    std::uint32_t addRef() override { return 2; }
    std::uint32_t release() override { return 1; }
    trapwell::HResult BeforeHandlerCalled(bool* cancel) override {
        journal_.entries << QStringLiteral("before");
        *cancel = cancel_;
        return trapwell::status::ok;
    }
    trapwell::HResult AfterHandlerCalled() override {
        journal_.entries << QStringLiteral("after");
        return trapwell::status::ok;
    }

private:
    Journal& journal_;
    bool cancel_;
};

class HandleErrorTest : public HandlerTest {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        handler.setDestination(temp.path());
    }
    void TearDown() override {
        // The handler outlives this fixture's members: let go of the sink first.
        if (sink)
            object().Unadvise(cookie);
        QLocale::setDefault(QLocale::c());
    }

    void listen(bool cancel) {
        sink = std::make_unique<RecordingSink>(journal, cancel);
        ASSERT_EQ(object().Advise(sink.get(), &cookie), trapwell::status::ok);
    }
    QString errorLog() const { return temp.filePath(QStringLiteral("Error.log")); }
    QByteArray errorLogBytes() const {
        QFile f(errorLog());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    FixedClock clock;
    platform::Clock::Override fixedTime{clock};
    platform::SystemLogRecorder systemLog;
    Journal journal;
    std::unique_ptr<RecordingSink> sink;
    std::uint32_t cookie = 0;
};

} // namespace

TEST_F(HandleErrorTest, ErrorSectionIsExactForAKnownStack) {
    FullApp app;
    app.Path = temp.path();
    handler.setAppObject(&app);
    handler.setCurrentOperation(QStringLiteral("Loading module 7"));
    handler.Push(QStringLiteral("Form1.Image2_Click"));
    handler.Push(QStringLiteral("modSubliminal.module"));
    handler.AddParam(QStringLiteral("intSeconds"), QStringLiteral("Integer"), 15);

    EXPECT_EQ(handler.HandleError(QStringLiteral("Invalid property value"), 380, 130,
                                  QStringLiteral("Please check the module file.")),
              0);
    const QString expected =
        "Trainer Title Application Error Information\r\n"
        "=====================\r\n\r\n"
        "Please check the module file.\r\n\r\n"
        "Current Time:\t12/6/26 5:09:38 PM\r\n"
        "Error Number:\t380\r\n"
        "Error Procedure:\tmodSubliminal.module\r\n"
        "Error Line:\t130\r\n"
        "Error Description:\tInvalid property value\r\n\r\n"
        "Procedure Stack\r\n"
        "-------------------\r\n"
        "01  Form1.Image2_Click\r\n"
        "02    modSubliminal.module\r\n"
        "\r\n1st Param:\r\nName: \tintSeconds\r\nType : \tInteger\r\nValue: \t15\r\n"
        "\r\nCurrent Operation: Loading module 7\r\n"
        "\r\nAdditional Information\r\n"
        "-------------------------\r\n"
        "Current Directory:\t" +
        QDir::currentPath() +
        "\r\n"
        "Title:\t\tTrainer Title\r\n"
        "Company Name:\thttp://example.org\r\n"
        "Major:\t\t2\r\n"
        "Minor:\t\t1\r\n"
        "Revision:\t\t7\r\n"
        "Path:\t\t" +
        temp.path() +
        "\r\n"
        "App Name:\tTrainer";
    EXPECT_EQ(handler.ErrorLogDisplay(), expected);
    EXPECT_EQ(errorLogBytes(), (expected + crlf).toLocal8Bit());
    EXPECT_EQ(handler.ProcName(), "modSubliminal.module");
    EXPECT_EQ(handler.ErrLine(), "130");

    EXPECT_EQ(handler.AppLogDisplay(),
              "App. Information\r\n=============\r\n"
              "Title:\tTrainer Title\r\nCompanyName:\thttp://example.org\r\n"
              "Major:\t2\r\nMinor:\t1\r\nRevision:\t7\r\nPath:\t" +
                  temp.path() +
                  "\r\nProductName:\tTrainer\r\nComments:\t\r\n"
                  "ExeName:\ttrainer\r\nFile Description:\t\r\n"
                  "Help File:\t\r\nLegal Copyright:\t\r\n"
                  "Legal Trademarks:\t\r\nLog Mode:\t0\r\nLog Path:\t\r\n");
    const QString sys = handler.SysLogDisplay();
    EXPECT_TRUE(sys.startsWith("System Information\r\n=============\r\nPLatform:\t\t\tLinux\r\n"
                               "Version:\t\t\t\t"));
    EXPECT_TRUE(sys.contains("\r\nAvailable Virtual Memory:\t\t"));
    EXPECT_TRUE(sys.endsWith(u'K'));
    EXPECT_EQ(handler.DbLogDisplay(), "Database Information\r\n==============\r\n");
}

TEST_F(HandleErrorTest, WithoutAnApplicationObjectTheSectionIsShorter) {
    handler.Push(QStringLiteral("A"));
    handler.HandleError(QStringLiteral("Overflow"), 6);
    EXPECT_EQ(handler.ErrorLogDisplay(), "Application Error Information\r\n"
                                         "=====================\r\n\r\n"
                                         "Current Time:\t12/6/26 5:09:38 PM\r\n"
                                         "Error Number:\t6\r\n"
                                         "Error Procedure:\tA\r\n"
                                         "Error Line:\t0\r\n"
                                         "Error Description:\tOverflow\r\n\r\n"
                                         "Procedure Stack\r\n"
                                         "-------------------\r\n"
                                         "01  A\r\n"
                                         "\r\n");
    EXPECT_EQ(handler.AppLogDisplay(), "App. Information\r\n=============\r\n");
}

TEST_F(HandleErrorTest, AMissingMemberDropsOnlyItsLine) {
    AppInfo app; // no CompanyName
    handler.setAppObject(&app);
    handler.HandleError(QStringLiteral("x"), 5);
    EXPECT_TRUE(handler.ErrorLogDisplay().contains("Title:\t\tTrainer Title\r\nMajor:\t\t2\r\n"));
    EXPECT_TRUE(handler.AppLogDisplay().contains("Title:\tTrainer Title\r\nMajor:\t2\r\n"));
}

TEST_F(HandleErrorTest, NumberZeroOnlyStoresTheValues) {
    listen(false);
    handler.Push(QStringLiteral("A"));
    EXPECT_EQ(handler.HandleError(QStringLiteral("nothing"), 0, 40), 0);
    EXPECT_EQ(handler.ErrNum(), 0);
    EXPECT_EQ(handler.ErrDesc(), "nothing");
    EXPECT_EQ(handler.ErrLine(), "40");
    EXPECT_TRUE(journal.entries.isEmpty());
    EXPECT_FALSE(QFile::exists(errorLog()));
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A"}));
}

TEST_F(HandleErrorTest, OutOfRangeValuesStopBeforeAnythingHappens) {
    listen(false);
    handler.Push(QStringLiteral("A"));
    EXPECT_EQ(handler.HandleError(QStringLiteral("x"), 5, 32768), 6);
    EXPECT_EQ(handler.HandleError(QStringLiteral("x"), 2147483648.0, 10), 6);
    EXPECT_EQ(handler.ErrLine(), "10"); // stored before the number failed
    EXPECT_TRUE(journal.entries.isEmpty());
    EXPECT_FALSE(QFile::exists(errorLog()));
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A"}));
    // The number is rounded to the nearest whole one, halves to even.
    handler.HandleError(QStringLiteral("x"), 2.5, -32768);
    EXPECT_EQ(handler.ErrNum(), 2);
    EXPECT_EQ(handler.ErrLine(), "-32768");
}

TEST_F(HandleErrorTest, EventsDialogAndLogComeInOrderAndTheStackEmpties) {
    handler.setUseInterface(true);
    handler.setEmailAddress(QStringLiteral("help@example.org"));
    handler.setToName(QStringLiteral("App Problems"));
    handler.setShowSysInfo(true);
    RecordingDialog dialog(journal, errorLog());
    trapwell::core::ErrorDialogPort::Override useDialog(dialog);
    listen(false);
    handler.Push(QStringLiteral("Outer"));
    handler.Push(QStringLiteral("Inner"));

    EXPECT_EQ(handler.HandleError(QStringLiteral("boom"), 91, 20), 0);
    QStringList kinds;
    for (const QString& e : journal.entries)
        kinds << (e.startsWith("field ") ? e.section(u' ', 0, 1) : e);
    QStringList expected{"before"};
    for (int f = 0; f <= int(ErrorDialogField::m_strToName); ++f)
        expected << QStringLiteral("field %1").arg(f);
    expected << "refresh"
             << "show"
             << "after";
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(journal.errorLogWhenShown, handler.ErrorLogDisplay() + crlf);

    EXPECT_EQ(dialog.fields[ErrorDialogField::m_dblErrNum], 91.0);
    EXPECT_EQ(dialog.fields[ErrorDialogField::m_strDestination], temp.path());
    EXPECT_EQ(dialog.fields[ErrorDialogField::m_strErrDetail], handler.ErrorLogDisplay());
    EXPECT_EQ(dialog.fields[ErrorDialogField::ShowSysInfo], true);
    EXPECT_EQ(dialog.fields[ErrorDialogField::ShowAppInfo], false);
    EXPECT_EQ(dialog.fields[ErrorDialogField::SysLog], handler.SysLogDisplay());
    EXPECT_EQ(dialog.fields[ErrorDialogField::m_strEmailAddress], "help@example.org");
    EXPECT_EQ(dialog.fields[ErrorDialogField::m_strEmailDetailAPI], QString());
    EXPECT_EQ(dialog.fields[ErrorDialogField::m_strToName], "App Problems");

    EXPECT_EQ(handler.CallStack(), QStringList({""}));
    EXPECT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
}

TEST_F(HandleErrorTest, ACancelledReportStillShowsTheDialogAndEndsNormally) {
    handler.Push(QStringLiteral("A"));
    handler.HandleError(QStringLiteral("first"), 5);
    const QString firstReport = handler.ErrorLogDisplay();
    const QByteArray firstLog = errorLogBytes();

    handler.setUseInterface(true);
    handler.setLogEvent(true);
    RecordingDialog dialog(journal, errorLog());
    trapwell::core::ErrorDialogPort::Override useDialog(dialog);
    listen(true);
    handler.Push(QStringLiteral("B"));
    EXPECT_EQ(handler.HandleError(QStringLiteral("second"), 6), 0);

    EXPECT_EQ(journal.entries.first(), "before");
    EXPECT_TRUE(journal.entries.contains("show"));
    EXPECT_EQ(journal.entries.last(), "after");
    EXPECT_EQ(handler.ErrorLogDisplay(), firstReport);
    EXPECT_EQ(errorLogBytes(), firstLog);
    EXPECT_EQ(handler.ErrNum(), 6); // the values are still the new error's
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
    ASSERT_EQ(systemLog.entries().size(), 1); // the old text, as the report was not redone
    EXPECT_EQ(systemLog.entries()[0].message, "Error from Trapwell\r" + firstReport);
}

TEST_F(HandleErrorTest, ErrorLogHoldsOnlyTheLastReportAndGoesToTheSystemLog) {
    handler.setLogEvent(true);
    handler.HandleError(QStringLiteral("first"), 5);
    handler.HandleError(QStringLiteral("second"), 6);
    EXPECT_EQ(errorLogBytes(), (handler.ErrorLogDisplay() + crlf).toLocal8Bit());
    EXPECT_FALSE(errorLogBytes().contains("first"));
    ASSERT_EQ(systemLog.entries().size(), 2);
    EXPECT_EQ(systemLog.entries()[1].ident, "Trapwell");
    EXPECT_EQ(systemLog.entries()[1].message, "Error from Trapwell\r" + handler.ErrorLogDisplay());

    handler.setLogEvent(false);
    handler.HandleError(QStringLiteral("third"), 7);
    EXPECT_EQ(systemLog.entries().size(), 2);
}

TEST_F(HandleErrorTest, AnUnwritableDestinationStillGivesTheReport) {
    const QString gone = temp.filePath(QStringLiteral("gone"));
    handler.setDestination(gone);
    QDir(gone).removeRecursively();
    listen(false);
    handler.Push(QStringLiteral("A"));
    EXPECT_EQ(handler.HandleError(QStringLiteral("boom"), 5), 0);
    EXPECT_TRUE(handler.ErrorLogDisplay().contains("Error Description:\tboom"));
    EXPECT_EQ(journal.entries, QStringList({"before", "after"}));
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
}

TEST_F(HandleErrorTest, ShowErrorLogOpensTheLogsOrSaysTheyAreMissing) {
    platform::ShellRecorder shell;
    platform::MsgBoxRecorder boxes;
    handler.ShowErrorLog(1);
    handler.ShowErrorLog(2);
    ASSERT_EQ(boxes.calls().size(), 2);
    EXPECT_EQ(boxes.calls()[0].prompt, "Error Log not created");
    EXPECT_EQ(boxes.calls()[0].title, "Error Log");
    EXPECT_EQ(boxes.calls()[0].buttons, platform::mb::OKOnly);
    EXPECT_EQ(boxes.calls()[1].prompt, "Trace Log not created");
    EXPECT_EQ(boxes.calls()[1].title, "Trace Log");

    handler.HandleError(QStringLiteral("boom"), 5);
    handler.setTraceExecution(true);
    handler.Push(QStringLiteral("A"));
    handler.ShowErrorLog(1);
    handler.ShowErrorLog(2);
    handler.ShowErrorLog(3);
    EXPECT_EQ(shell.opened(), QList<QUrl>({QUrl::fromLocalFile(errorLog()),
                                           QUrl::fromLocalFile(temp.filePath("Trace.log"))}));
    EXPECT_EQ(boxes.calls().size(), 2);
}

TEST_F(HandleErrorTest, AnEditorThatCannotStartIsReportedToTheCaller) {
    platform::ShellRecorder shell([](const QUrl&) { return platform::shell::noAssociation; });
    handler.HandleError(QStringLiteral("boom"), 5);
    EXPECT_EQ(errorOf([&] { handler.ShowErrorLog(1); }).number(), 53);
}

#include "handleerror_test.moc"
