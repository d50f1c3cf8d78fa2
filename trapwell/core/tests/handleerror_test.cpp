#include "handlerfixture.h"

#include <QLocale>

// Reports in the default locale's short date and time, here the United States'.
class HandleErrorTest : public HandledErrorTest {
protected:
    struct UsLocale {
        UsLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
        ~UsLocale() { QLocale::setDefault(QLocale::c()); }
    } locale;
    platform::SettableClock clock{{QDate(2026, 12, 6), QTime(17, 9, 38)}};
    platform::SystemLogRecorder systemLog;
};

// The report's sections, from the bare one to one with every member of the application (the
// bare application and database sections: dialog-fields.txt).
TEST_F(HandleErrorTest, ReportSectionsAreExactForAKnownStack) {
    handler.Push("A");
    handler.HandleError("Overflow", 6);
    EXPECT_GOLDEN(handler.ErrorLogDisplay().toUtf8(), "error-section-bare.txt");
    const QString sys = handler.SysLogDisplay();
    EXPECT_TRUE(sys.startsWith("System Information\r\n=============\r\nPLatform:\t\t\tLinux\r\n"
                               "Version:\t\t\t\t"));
    EXPECT_TRUE(sys.contains("\r\nAvailable Virtual Memory:\t\t") && sys.endsWith(u'K'));

    AppInfo app(temp.path()); // without CompanyName, the line is left out
    handler.setAppObject(&app);
    handler.HandleError("x", 5);
    EXPECT_TRUE(handler.ErrorLogDisplay().contains("Title:\t\tTrainer Title\r\nMajor:\t\t2\r\n"));
    EXPECT_TRUE(handler.AppLogDisplay().contains("Title:\tTrainer Title\r\nMajor:\t2\r\n"));

    give(app, {{"CompanyName", "http://example.org"}, {"EXEName", "trainer"}, {"LogMode", 0}});
    for (const char* member : {"Comments", "FileDescription", "HelpFile", "LegalCopyright",
                               "LegalTrademarks", "LogPath"})
        app.setProperty(member, "");
    handler.setCurrentOperation("Loading module 7");
    handler.Push("Form1.Image2_Click");
    handler.Push("modSubliminal.module");
    handler.AddParam("intSeconds", "Integer", 15);
    handler.HandleError("Invalid property value", 380, 130, "Please check the module file.");
    const golden::Fill paths{{"@CWD@", QDir::currentPath().toUtf8()},
                             {"@TEMP@", temp.path().toUtf8()}};
    EXPECT_GOLDEN(handler.ErrorLogDisplay().toUtf8(), "error-section.txt", paths);
    EXPECT_GOLDEN(handler.AppLogDisplay().toUtf8(), "app-section.txt", paths);
}

// Number 0 and values out of range stop before anything happens. Otherwise the host hears of
// the error before anything and after everything; Error.log and the system log hold the last
// report; a cancelled report still shows the dialog, but nothing is redone.
TEST_F(HandleErrorTest, EventsDialogAndLogsComeInOrderAndACancelRedoesNothing) {
    listen();
    handler.Push("A");
    EXPECT_EQ(handler.HandleError("nothing", 0, 40), 0);
    EXPECT_EQ(handler.ErrNum(), 0);
    EXPECT_EQ(handler.ErrDesc(), "nothing");
    EXPECT_EQ(handler.ErrLine(), "40");
    EXPECT_EQ(handler.HandleError("x", 5, 32768), 6);
    EXPECT_EQ(handler.HandleError("x", 2147483648.0, 10), 6);
    EXPECT_EQ(handler.ErrLine(), "10"); // stored before the number failed
    EXPECT_TRUE(ports->entries.isEmpty());
    EXPECT_FALSE(QFile::exists(errorLog()));
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A"})); // until the next error is handled

    handler.setLogEvent(true);
    handler.HandleError("x", 2.5, -32768); // rounded to the nearest whole number, halves to even
    EXPECT_EQ(handler.ErrNum(), 2);
    EXPECT_EQ(handler.ErrLine(), "-32768");
    handler.setLogEvent(false);
    handler.HandleError("second", 6);
    ASSERT_EQ(systemLog.entries().size(), 1);
    EXPECT_EQ(systemLog.entries()[0].ident, "Trapwell");

    handler.setUseInterface(true);
    handler.setLogEvent(true);
    handler.setEmailAddress("help@example.org");
    handler.setToName("App Problems");
    handler.setShowSysInfo(true);
    handler.Push("Outer");
    handler.Push("Inner");
    EXPECT_EQ(handler.HandleError("boom", 91, 20), 0);
    const QString report = handler.ErrorLogDisplay();
    const QStringList seen{"before", "refresh", "show", "after"};
    // The two errors before, without the interface, showed no dialog.
    EXPECT_EQ(ports->entries, QStringList({"before", "after", "before", "after"}) + seen);
    EXPECT_EQ(ports->errorLogWhenShown, report + "\r\n"); // written before it showed
    EXPECT_EQ(systemLog.entries().last().message, "Error from Trapwell\r" + report);
    // All the dialog got.
    const trapwell::core::ErrorDialogContent& c = ports->content;
    const auto flag = [](bool on) { return QString::fromLatin1(on ? "true" : "false"); };
    const QStringList given{QString::number(c.errorNumber),
                            c.destination,
                            c.errorDetail,
                            flag(c.traceExecution),
                            flag(c.showAppInfo),
                            flag(c.showDbInfo),
                            flag(c.showSysInfo),
                            flag(c.showPostButton),
                            c.appLog,
                            c.sysLog,
                            c.dbLog,
                            c.emailAddress,
                            c.subject,
                            c.emailDetailApi,
                            c.emailDetailApi2,
                            c.toName};
    QByteArray fields;
    for (qsizetype i = 0; i < given.size(); ++i)
        fields += QByteArray::number(i) + ": " + given[i].toUtf8() + '\n';
    EXPECT_GOLDEN(fields, "dialog-fields.txt",
                  {{"@SYS@", handler.SysLogDisplay().toUtf8()}, {"@TEMP@", temp.path().toUtf8()}});

    ports->cancel = true;
    const QByteArray log = fileBytes(errorLog());
    handler.Push("B");
    EXPECT_EQ(handler.HandleError("fourth", 8), 0);
    EXPECT_EQ(ports->entries.mid(8), seen);
    EXPECT_EQ(handler.ErrorLogDisplay(), report);
    EXPECT_EQ(fileBytes(errorLog()), log);
    EXPECT_EQ(handler.ErrNum(), 8);           // the values are still the new error's
    ASSERT_EQ(systemLog.entries().size(), 3); // the old text, as the report was not redone
    EXPECT_EQ(systemLog.entries()[2].message, "Error from Trapwell\r" + report);
    dialogs = 2;
}

// A failing timer procedure shows the dialog once in the window, yet every error is logged.
TEST_F(HandleErrorTest, DialogReturnsAfterTheRepeatWindowWithTheCountOfRepeats) {
    handler.setUseInterface(true);
    handler.setLogEvent(true);
    handler.setRepeatWindow(60);
    const struct {
        int seconds, line, times, shown;
        const char* note;
    } steps[] = {
        {0, 20, 1, 1, ""},
        {30, 20, 37, 1, ""}, // repeats within the window
        {0, 30, 1, 2, ""},   // another line is another error
        {20, 20, 1, 2, ""},  // 50 s after its dialog closed
        {10, 20, 1, 3, "… and 38 more times since 17:09"},
        {61, 20, 1, 4, ""},
    };
    for (const auto& step : steps) {
        clock.advance(step.seconds);
        for (int i = 0; i < step.times; ++i) {
            QFile::remove(errorLog());
            handler.Push("Form1.Timer1_Timer");
            handler.HandleError("Division by zero", 11, step.line);
            ASSERT_TRUE(QFile::exists(errorLog())) << "step " << &step - steps << ", " << i;
        }
        EXPECT_EQ(ports->entries.count("show"), step.shown) << "step " << &step - steps;
        EXPECT_EQ(ports->notes.repeats, step.note) << "step " << &step - steps;
    }
    EXPECT_EQ(systemLog.entries().size(), 42);

    // Without a window (the default) every error shows the dialog again.
    handler.setRepeatWindow(0);
    handler.HandleError("Division by zero", 11, 20);
    handler.HandleError("Division by zero", 11, 20);
    EXPECT_EQ(ports->notes.repeats, "");
    dialogs = 6;
}

TEST_F(HandleErrorTest, ShowErrorLogOpensTheLogsOrSaysTheyAreMissing) {
    platform::ShellRecorder shell;
    platform::MsgBoxRecorder boxes;
    handler.ShowErrorLog(1);
    handler.ShowErrorLog(2);
    EXPECT_EQ(boxes.texts(), QStringList({"Error Log: Error Log not created",
                                          "Trace Log: Trace Log not created"}));

    handler.setTraceExecution(true);
    handler.Push("A");
    handler.HandleError("boom", 5);
    for (int mode : {1, 2, 3})
        handler.ShowErrorLog(mode);
    EXPECT_EQ(shell.opened(), QList<QUrl>({QUrl::fromLocalFile(errorLog()),
                                           QUrl::fromLocalFile(temp.filePath("Trace.log"))}));
    EXPECT_EQ(boxes.texts().size(), 2);

    platform::ShellRecorder failing([](const QUrl&) { return platform::shell::noAssociation; });
    EXPECT_EQ(errorOf([&] { handler.ShowErrorLog(1); }).number(), 53);
}
