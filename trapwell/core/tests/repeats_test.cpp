#include "handlerfixture.h"

#include "platform/tests/support/fakes.h"

#include <QFile>
#include <QTimer>
#include <QtTest/QTest>

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

TEST_F(RepeatsTest, FailingTimerProcedureOpensTheDialogOnceYetLogsEveryError) {
    handler.setRepeatWindow(60);
    // The user closes the dialog at once; the timer, which Qt does not fire again while its
    // own handler runs, goes on after each close.
    int ticks = 0, logged = 0;
    const QString errorLog = temp.filePath(QStringLiteral("Error.log"));

    QTimer timer;
    timer.setInterval(16);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        QFile::remove(errorLog);
        fail();
        logged += QFile::exists(errorLog);
    });
    timer.start();
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 30, 60000);
    timer.stop();

    EXPECT_EQ(ports->dialog.shown, 1);
    EXPECT_EQ(logged, ticks);
    EXPECT_EQ(systemLog.entries().size(), ticks);
}

TEST_F(RepeatsTest, DialogReturnsAfterTheWindowWithTheCountOfRepeats) {
    handler.setRepeatWindow(60);
    EXPECT_EQ(handler.RepeatWindow(), 60);
    fail();
    EXPECT_EQ(ports->dialog.shown, 1);
    EXPECT_EQ(ports->dialog.notes.repeats, "");

    clock.advance(30);
    for (int i = 0; i < 37; ++i)
        fail();
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
}

TEST_F(RepeatsTest, WithoutAWindowEveryErrorOpensTheDialog) {
    EXPECT_EQ(handler.RepeatWindow(), 0);
    for (int i = 0; i < 3; ++i)
        fail();
    EXPECT_EQ(ports->dialog.shown, 3);
    EXPECT_EQ(ports->dialog.notes.repeats, "");

    handler.setRepeatWindow(60);
    handler.setRepeatWindow(0);
    fail();
    fail();
    EXPECT_EQ(ports->dialog.shown, 5);
    EXPECT_EQ(errorOf([&] { handler.setRepeatWindow(-1); }).number(), 380);
    EXPECT_EQ(handler.RepeatWindow(), 0);
}
