#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "tracing/veltranoapplication.h"

#include "../support/programfixture.h"

#include "platform/tests/support/fakes.h"

#include <trapwell/runtimeerror.h>

using veltrano::VeltranoApplication;

namespace {

// Start-up as main runs it: a failure that escapes the main window's load must end in the
// fatal message and a failed exit, never in an uncaught exception (an abort, exit 134).
class StartUpTest : public ProgramTest {
protected:
    QString fatalTexts() const {
        QStringList texts;
        for (const platform::MsgBoxCall& call : boxes.calls())
            if (call.buttons == platform::mb::Critical && call.title == "Veltrano")
                texts << call.prompt;
        return texts.join(u'|');
    }
    platform::MsgBoxRecorder boxes;
    platform::ProgramEndRecorder ends;
};

} // namespace

TEST_F(StartUpTest, DamagedSettingsFilesAreReportedAndLeftByteForByte) {
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    const QByteArray component = "[Other Program]\nkeep=this\n[ErrHandler\nEmailType=1\n";
    const QByteArray program = "; mine\n[Check%20Box%20Selection]\nCheck%20Box%207=1\n"
                               "a line without an equals sign\n[Foreign]\nx=1\n";
    const QString componentFile = config.filePath(QStringLiteral("Halvorn.ini"));
    const QString programFile = config.filePath(QStringLiteral("Veltrano Rudoz Arirera.ini"));
    ASSERT_TRUE(writeBytes(componentFile, component));
    ASSERT_TRUE(writeBytes(programFile, program));
    veltrano::clsAEHandling::resetForTests();
    handler().setUseInterface(false);
    handler().setLogEvent(false);

    // The start goes on: the module boxes keep their design values, the read is reported.
    veltrano::Form1 form;
    EXPECT_TRUE(VeltranoApplication::startUp([&] { form.Form_Load(); }));
    EXPECT_EQ(ends.count(), 0);
    EXPECT_EQ(handler().ErrNum(), 75);
    EXPECT_EQ(handler().ProcName(), "modTrans.checkvaluesload");
    EXPECT_EQ(form.windowTitle(), "Veltrano Rudoz Arirera 0.0.72");

    // Saving settings of both programs leaves both files as they were.
    handler().setEmailType(trapwell::aeSMTP);
    form.Image6->Click();
    form.Image6->Click();
    EXPECT_EQ(fileBytes(componentFile), component);
    EXPECT_EQ(fileBytes(programFile), program);
}

// The built program meeting such starts (a settings file that is a folder, a missing
// component) is x11/startup_x11_test.sh; here the exact text of the message.
TEST_F(StartUpTest, AFailedStartEndsInTheFatalMessageAndAFailedExit) {
    // What creating the component raises when its library is missing or unsound.
    EXPECT_FALSE(VeltranoApplication::startUp(
        [] { throw trapwell::RuntimeError(429, {}, "ActiveX component can't create object"); }));
    EXPECT_EQ(fatalTexts(), "Run-time error '429':\n\nActiveX component can't create object");
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(ends.lastExitCode(), 1);
}
