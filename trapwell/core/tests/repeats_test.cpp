#include "handlerfixture.h"

#include "platform/tests/support/fakes.h"

namespace {

const QDateTime tenOhTwo(QDate(2026, 3, 4), QTime(10, 2, 0));

class RepeatsTest : public HandlerTest {
protected:
    void SetUp() override {
        handler.setDestination(temp.path());
        handler.setUseInterface(true);
        handler.setLogEvent(true);
    }
    void fail(int line = 20) {
        handler.Push(QStringLiteral("Form1.Timer1_Timer"));
        handler.HandleError(QStringLiteral("Division by zero"), 11, line);
    }
    platform::SettableClock clock{tenOhTwo};
    platform::SystemLogRecorder systemLog;
};

} // namespace

// A failing timer procedure opens the dialog once, yet every error is logged.
TEST_F(RepeatsTest, DialogReturnsAfterTheWindowWithTheCountOfRepeats) {
    EXPECT_EQ(handler.RepeatWindow(), 0);
    handler.setRepeatWindow(60);
    fail();
    EXPECT_EQ(ports->dialog.shown, 1);
    EXPECT_EQ(ports->dialog.notes.repeats, "");

    clock.advance(30);
    const QString errorLog = temp.filePath(QStringLiteral("Error.log"));
    for (int i = 0; i < 37; ++i) {
        QFile::remove(errorLog);
        fail();
        ASSERT_TRUE(QFile::exists(errorLog)) << i;
    }
    EXPECT_EQ(ports->dialog.shown, 1);
    fail(30); // another line is another error
    EXPECT_EQ(ports->dialog.shown, 2);

    clock.advance(20); // 50 s after the dialog closed
    fail();
    EXPECT_EQ(ports->dialog.shown, 2);
    clock.advance(10);
    fail();
    EXPECT_EQ(ports->dialog.shown, 3);
    EXPECT_EQ(ports->dialog.notes.repeats, "… and 38 more times since 10:02");
    EXPECT_EQ(systemLog.entries().size(), 41);

    clock.advance(61);
    fail();
    EXPECT_EQ(ports->dialog.shown, 4);
    EXPECT_EQ(ports->dialog.notes.repeats, "");

    // Without a window (the default) every error opens the dialog again.
    handler.setRepeatWindow(0);
    fail();
    fail();
    EXPECT_EQ(ports->dialog.shown, 6);
    EXPECT_EQ(ports->dialog.notes.repeats, "");
    EXPECT_EQ(errorOf([&] { handler.setRepeatWindow(-1); }).number(), 380);
    EXPECT_EQ(handler.RepeatWindow(), 0);
}
