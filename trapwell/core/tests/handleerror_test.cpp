#include "handlerfixture.h"

#include "platform/tests/support/fakes.h"
#include "platform/tests/support/files.h"

#include <QDir>
#include <QLocale>

using trapwell::core::ErrorDialogField;

namespace {

const QString crlf = QStringLiteral("\r\n");

class HandleErrorTest : public HandlerTest {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        handler.setDestination(temp.path());
        ports->replacementDialog = &journal;
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    QByteArray errorLogBytes() const { return fileBytes(journal.errorLog); }

    const platform::SettableClock clock{{QDate(2026, 12, 6), QTime(17, 9, 38)}};
    platform::SystemLogRecorder systemLog;
};

} // namespace

TEST_F(HandleErrorTest, ErrorSectionIsExactForAKnownStack) {
    AppInfo app;
    app.Path = temp.path();
    app.setProperty("CompanyName", QStringLiteral("http://example.org"));
    app.setProperty("EXEName", QStringLiteral("trainer"));
    app.setProperty("LogMode", 0);
    for (const char* member : {"Comments", "FileDescription", "HelpFile", "LegalCopyright",
                               "LegalTrademarks", "LogPath"})
        app.setProperty(member, QString());
    handler.setAppObject(&app);
    handler.setCurrentOperation(QStringLiteral("Loading module 7"));
    handler.Push(QStringLiteral("Form1.Image2_Click"));
    handler.Push(QStringLiteral("modSubliminal.module"));
    handler.AddParam(QStringLiteral("intSeconds"), QStringLiteral("Integer"), 15);

    EXPECT_EQ(handler.HandleError(QStringLiteral("Invalid property value"), 380, 130,
                                  QStringLiteral("Please check the module file.")),
              0);
    const QString expected =
        QStringLiteral(
            "Trainer Title Application Error Information\r\n=====================\r\n\r\n"
            "Please check the module file.\r\n\r\n"
            "Current Time:\t12/6/26 5:09:38 PM\r\nError Number:\t380\r\n"
            "Error Procedure:\tmodSubliminal.module\r\nError Line:\t130\r\n"
            "Error Description:\tInvalid property value\r\n\r\n"
            "Procedure Stack\r\n-------------------\r\n"
            "01  Form1.Image2_Click\r\n02    modSubliminal.module\r\n"
            "\r\n1st Param:\r\nName: \tintSeconds\r\nType : \tInteger\r\nValue: \t15\r\n"
            "\r\nCurrent Operation: Loading module 7\r\n"
            "\r\nAdditional Information\r\n-------------------------\r\n"
            "Current Directory:\t%1\r\nTitle:\t\tTrainer Title\r\n"
            "Company Name:\thttp://example.org\r\nMajor:\t\t2\r\nMinor:\t\t1\r\nRevision:\t\t7\r\n"
            "Path:\t\t%2\r\nApp Name:\tTrainer")
            .arg(QDir::currentPath(), temp.path());
    EXPECT_EQ(handler.ErrorLogDisplay(), expected);
    EXPECT_EQ(errorLogBytes(), (expected + crlf).toLocal8Bit());
    EXPECT_EQ(handler.ProcName(), "modSubliminal.module");

    EXPECT_EQ(handler.AppLogDisplay(),
              QStringLiteral("App. Information\r\n=============\r\n"
                             "Title:\tTrainer Title\r\nCompanyName:\thttp://example.org\r\n"
                             "Major:\t2\r\nMinor:\t1\r\nRevision:\t7\r\nPath:\t%1\r\n"
                             "ProductName:\tTrainer\r\nComments:\t\r\nExeName:\ttrainer\r\n"
                             "File Description:\t\r\nHelp File:\t\r\nLegal Copyright:\t\r\n"
                             "Legal Trademarks:\t\r\nLog Mode:\t0\r\nLog Path:\t\r\n")
                  .arg(temp.path()));
    const QString sys = handler.SysLogDisplay();
    EXPECT_TRUE(sys.startsWith("System Information\r\n=============\r\nPLatform:\t\t\tLinux\r\n"
                               "Version:\t\t\t\t"));
    EXPECT_TRUE(sys.contains("\r\nAvailable Virtual Memory:\t\t") && sys.endsWith(u'K'));
    EXPECT_EQ(handler.DbLogDisplay(), "Database Information\r\n==============\r\n");
}

TEST_F(HandleErrorTest, WithoutAnAppObjectOrOneOfItsMembersTheSectionIsShorter) {
    handler.Push(QStringLiteral("A"));
    handler.HandleError(QStringLiteral("Overflow"), 6);
    EXPECT_EQ(handler.ErrorLogDisplay(),
              "Application Error Information\r\n=====================\r\n\r\n"
              "Current Time:\t12/6/26 5:09:38 PM\r\nError Number:\t6\r\nError Procedure:\tA\r\n"
              "Error Line:\t0\r\nError Description:\tOverflow\r\n\r\n"
              "Procedure Stack\r\n-------------------\r\n01  A\r\n\r\n");
    EXPECT_EQ(handler.AppLogDisplay(), "App. Information\r\n=============\r\n");

    AppInfo app; // no CompanyName
    handler.setAppObject(&app);
    handler.HandleError(QStringLiteral("x"), 5);
    EXPECT_TRUE(handler.ErrorLogDisplay().contains("Title:\t\tTrainer Title\r\nMajor:\t\t2\r\n"));
    EXPECT_TRUE(handler.AppLogDisplay().contains("Title:\tTrainer Title\r\nMajor:\t2\r\n"));
}

TEST_F(HandleErrorTest, NumberZeroAndOutOfRangeValuesStopBeforeAnythingHappens) {
    listen();
    handler.Push(QStringLiteral("A"));
    EXPECT_EQ(handler.HandleError(QStringLiteral("nothing"), 0, 40), 0);
    EXPECT_EQ(handler.ErrNum(), 0);
    EXPECT_EQ(handler.ErrDesc(), "nothing");
    EXPECT_EQ(handler.ErrLine(), "40");
    EXPECT_EQ(handler.HandleError(QStringLiteral("x"), 5, 32768), 6);
    EXPECT_EQ(handler.HandleError(QStringLiteral("x"), 2147483648.0, 10), 6);
    EXPECT_EQ(handler.ErrLine(), "10"); // stored before the number failed
    EXPECT_TRUE(journal.entries.isEmpty());
    EXPECT_FALSE(QFile::exists(journal.errorLog));
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
    listen();
    handler.Push(QStringLiteral("Outer"));
    handler.Push(QStringLiteral("Inner"));

    EXPECT_EQ(handler.HandleError(QStringLiteral("boom"), 91, 20), 0);
    QStringList expected{"before"};
    for (int f = 0; f <= int(ErrorDialogField::m_strToName); ++f)
        expected << QStringLiteral("field %1").arg(f);
    EXPECT_EQ(journal.entries, expected + QStringList({"refresh", "show", "after"}));
    EXPECT_EQ(journal.errorLogWhenShown, handler.ErrorLogDisplay() + crlf);
    EXPECT_EQ(handler.CallStack(), QStringList({""}));

    using F = ErrorDialogField;
    auto& fields = journal.fields;
    EXPECT_EQ(fields[F::m_dblErrNum], 91.0);
    EXPECT_EQ(fields[F::m_strDestination], temp.path());
    EXPECT_EQ(fields[F::m_strErrDetail], handler.ErrorLogDisplay());
    EXPECT_EQ(fields[F::ShowSysInfo], true);
    EXPECT_EQ(fields[F::ShowAppInfo], false);
    EXPECT_EQ(fields[F::SysLog], handler.SysLogDisplay());
    EXPECT_EQ(fields[F::m_strEmailAddress], "help@example.org");
    EXPECT_EQ(fields[F::m_strToName], "App Problems");
}

TEST_F(HandleErrorTest, ErrorLogAndSystemLogHoldTheLastReportWhichACancelKeeps) {
    handler.setLogEvent(true);
    handler.HandleError(QStringLiteral("first"), 5);
    handler.HandleError(QStringLiteral("second"), 6);
    const QString lastReport = handler.ErrorLogDisplay();
    EXPECT_EQ(errorLogBytes(), (lastReport + crlf).toLocal8Bit());
    ASSERT_EQ(systemLog.entries().size(), 2);
    EXPECT_EQ(systemLog.entries()[1].ident, "Trapwell");
    EXPECT_EQ(systemLog.entries()[1].message, "Error from Trapwell\r" + lastReport);
    handler.setLogEvent(false);
    handler.HandleError(QStringLiteral("third"), 7);
    EXPECT_EQ(systemLog.entries().size(), 2);

    // A cancelled report still shows the dialog and ends normally, but nothing is redone.
    handler.setLogEvent(true);
    handler.setUseInterface(true);
    listen(true);
    const QString thirdReport = handler.ErrorLogDisplay();
    const QByteArray thirdLog = errorLogBytes();
    handler.Push(QStringLiteral("B"));
    EXPECT_EQ(handler.HandleError(QStringLiteral("fourth"), 8), 0);
    EXPECT_EQ(journal.entries.first(), "before");
    EXPECT_TRUE(journal.entries.contains("show"));
    EXPECT_EQ(journal.entries.last(), "after");
    EXPECT_EQ(handler.ErrorLogDisplay(), thirdReport);
    EXPECT_EQ(errorLogBytes(), thirdLog);
    EXPECT_EQ(handler.ErrNum(), 8); // the values are still the new error's
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
    ASSERT_EQ(systemLog.entries().size(), 3); // the old text, as the report was not redone
    EXPECT_EQ(systemLog.entries()[2].message, "Error from Trapwell\r" + thirdReport);
}

TEST_F(HandleErrorTest, ShowErrorLogOpensTheLogsOrSaysTheyAreMissing) {
    platform::ShellRecorder shell;
    platform::MsgBoxRecorder boxes;
    handler.ShowErrorLog(1);
    handler.ShowErrorLog(2);
    ASSERT_EQ(boxes.calls().size(), 2);
    EXPECT_EQ(boxes.calls()[0].title + ": " + boxes.calls()[0].prompt,
              "Error Log: Error Log not created");
    EXPECT_EQ(boxes.calls()[1].title + ": " + boxes.calls()[1].prompt,
              "Trace Log: Trace Log not created");

    handler.HandleError(QStringLiteral("boom"), 5);
    handler.setTraceExecution(true);
    handler.Push(QStringLiteral("A"));
    for (int mode : {1, 2, 3})
        handler.ShowErrorLog(mode);
    EXPECT_EQ(shell.opened(), QList<QUrl>({QUrl::fromLocalFile(journal.errorLog),
                                           QUrl::fromLocalFile(temp.filePath("Trace.log"))}));
    EXPECT_EQ(boxes.calls().size(), 2);

    platform::ShellRecorder failing([](const QUrl&) { return platform::shell::noAssociation; });
    EXPECT_EQ(errorOf([&] { handler.ShowErrorLog(1); }).number(), 53);
}
