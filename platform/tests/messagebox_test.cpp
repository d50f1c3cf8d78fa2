#include "platform/messagebox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

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
    EXPECT_EQ(recorder.calls()[1].title, QStringLiteral("PlatformTests"));
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

namespace {
// Runs inspect on the real box once it is on the screen, then clicks its button.
int answerShownBox(const QString& prompt, int buttons, const QString& title,
                   const std::function<void(QMessageBox&)>& inspect,
                   QMessageBox::StandardButton click) {
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) {
                inspect(*box);
                box->button(click)->click();
            }
        }
    });
    clicker.start(10);
    return MsgBox(prompt, buttons, title);
}
} // namespace

TEST(MsgBox, ShowsTheBoxAndReturnsTheClickedAnswer) {
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    EXPECT_EQ(answerShownBox(
                  QStringLiteral("Disk?"), mb::AbortRetryIgnore | mb::Exclamation,
                  QStringLiteral("Backup"),
                  [&](QMessageBox& box) {
                      title = box.windowTitle();
                      icon = box.icon();
                  },
                  QMessageBox::Ignore),
              mb::Ignore);
    EXPECT_EQ(title, QStringLiteral("Backup"));
    EXPECT_EQ(icon, QMessageBox::Warning);
}

// The window manager cuts a title that is wider than its window: a short prompt must not
// make the box too narrow for its whole title, drawn bold, beside a title bar's icon and
// three buttons (24 pixels each at the least).
TEST(MsgBox, BoxIsWideEnoughForItsWholeTitle) {
    const QString longTitle = QStringLiteral("Veltrano Rudoz Arirera and a Longer Title");
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int needed = QFontMetrics(titleFont).horizontalAdvance(longTitle) + 4 * 24;
    QString shownTitle;
    int width = 0;
    answerShownBox(
        QStringLiteral("Ok."), mb::OKOnly, longTitle,
        [&](QMessageBox& box) {
            shownTitle = box.windowTitle();
            width = box.width();
        },
        QMessageBox::Ok);
    EXPECT_EQ(shownTitle, longTitle);
    EXPECT_GE(width, needed);
}
