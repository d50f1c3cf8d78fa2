#include "platform/messagebox.h"
#include "platform/tests/support/fakes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>

using namespace platform;

TEST(MsgBoxRecorder, RecordsCallsAndAnswersWithTheFirstButton) {
    MsgBoxRecorder recorder;
    EXPECT_EQ(MsgBox(QStringLiteral("Save?"), mb::YesNoCancel | mb::Question, QStringLiteral("Ed")),
              mb::Yes);
    EXPECT_EQ(MsgBox(QStringLiteral("Done")), mb::OK);
    ASSERT_EQ(recorder.calls().size(), 2);
    EXPECT_EQ(recorder.calls()[0].prompt, QStringLiteral("Save?"));
    EXPECT_EQ(recorder.calls()[0].buttons, mb::YesNoCancel | mb::Question);
    EXPECT_EQ(recorder.calls()[0].title, QStringLiteral("Ed"));
    // An empty title is recorded as the box would show it: the application's name.
    EXPECT_EQ(recorder.calls()[1].title, QCoreApplication::applicationName());
    EXPECT_EQ(MsgBox({}, mb::AbortRetryIgnore | mb::Critical), mb::Abort);
    EXPECT_EQ(MsgBox({}, mb::RetryCancel), mb::Retry);
}

TEST(MsgBoxRecorder, InnermostRecorderAnswersThroughItsFunction) {
    MsgBoxRecorder outer;
    {
        MsgBoxRecorder inner(
            [](const MsgBoxCall& call) { return call.buttons == mb::YesNo ? mb::No : mb::Cancel; });
        EXPECT_EQ(MsgBox(QStringLiteral("Delete?"), mb::YesNo), mb::No);
        EXPECT_EQ(inner.calls().size(), 1);
    }
    EXPECT_TRUE(outer.calls().isEmpty());
    EXPECT_EQ(MsgBox(QStringLiteral("After"), mb::YesNo), mb::Yes);
    EXPECT_EQ(outer.calls().size(), 1);
}

// The real box, shown until its button is clicked. The window manager cuts a title wider
// than its window: a short prompt must not make the box too narrow for its whole title,
// drawn bold, beside a title bar's icon and three buttons (24 pixels each at the least).
TEST(MsgBox, ShowsTheBoxWithItsWholeTitleAndReturnsTheClickedAnswer) {
    const QString title = QStringLiteral("Veltrano Rudoz Arirera and a Longer Title");
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int needed = QFontMetrics(titleFont).horizontalAdvance(title) + 4 * 24;
    QString shownTitle;
    int width = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) {
                shownTitle = box->windowTitle();
                width = box->width();
                icon = box->icon();
                box->button(QMessageBox::Ignore)->click();
            }
        }
    });
    clicker.start(10);
    EXPECT_EQ(MsgBox(QStringLiteral("Disk?"), mb::AbortRetryIgnore | mb::Exclamation, title),
              mb::Ignore);
    EXPECT_EQ(shownTitle, title);
    EXPECT_GE(width, needed);
    EXPECT_EQ(icon, QMessageBox::Warning);
}
