#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "presentation/presentationcontrol.h"

#include "../support/programfixture.h"

#include "platform/tests/support/fakes.h"

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

using veltrano::Form1;
using veltrano::Form2;
using veltrano::Presentation;

namespace {

class PresentationControlTest : public ProgramTest {
protected:
    PresentationControlTest() {
        form.Timer1->stop(); // the tray's timer has its own tests
        form.Form_Load();
    }
    std::pair<std::int16_t, int> frequency() const {
        return {Presentation::WordInterval, form.ProgressBar1->value()};
    }
    bool runningLook() const {
        return form.Image2->isHidden() && !form.Image3->isHidden() && form.Image14->isHidden() &&
               !form.Image13->isHidden() && form.cmdStart->text() == "Stop";
    }
    bool stoppedLook() const {
        return !form.Image2->isHidden() && form.Image3->isHidden() && !form.Image14->isHidden() &&
               form.Image13->isHidden() && form.cmdStart->text() == "Start";
    }

    Form1 form;
};

} // namespace

TEST_F(PresentationControlTest, FrequencyMovesInStepsOfFiveWithTheBarMirroringIt) {
    using F = std::pair<std::int16_t, int>;
    EXPECT_EQ(frequency(), F(15, 30));
    form.Image7->Click();
    EXPECT_EQ(frequency(), F(15, 30));
    form.Image8->Click();
    form.Image8->Click();
    form.Image8->Click();
    EXPECT_EQ(frequency(), F(30, 15));
    form.Image8->Click();
    EXPECT_EQ(frequency(), F(30, 15));
    form.Image7->Click();
    EXPECT_EQ(frequency(), F(25, 20));
}

TEST_F(PresentationControlTest, StartWithoutAModuleIsRefusedWithoutATrace) {
    Presentation::SelectedModule = 0;
    platform::MsgBoxRecorder boxes;
    const qsizetype traced = traceLines().size();
    form.Image2->Click();
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].prompt, "You have to select a module");
    EXPECT_EQ(boxes.calls()[0].buttons, platform::mb::OKOnly);
    EXPECT_EQ(boxes.calls()[0].title, "Veltrano Rudoz Arirera");
    EXPECT_EQ(traceLines().size(), traced);
    EXPECT_TRUE(stoppedLook());
}

TEST_F(PresentationControlTest, StopDuringAWaitThenStartShowsTheNextEntryAtOnceFromOneCycle) {
    writeModule(25, "one\r\ntwo\r\nthree\r\n");
    Presentation::SelectedModule = 25;
    Presentation::WordInterval = 1;
    // The program's time moves on a millisecond at every reading: the waits run their course
    // in passes of event handling, and a timer of 0 keeps those passes coming.
    SteppingClock clock(12 * 3600.0, 0.001);
    platform::Clock::Override stepping(clock);
    QTimer passes;
    passes.start(0);

    QStringList shown;
    bool runningSeen = false;
    double firstShownAt = -1, restartAt = -1, nextShownAt = -1;
    Form2& strip = Form2::instance();
    // Stops once the first entry's wait has run 0.4 s (past its 0.3 s showing, within the
    // interval), and starts again right away.
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (clock.peek() < firstShownAt + 0.4)
            return;
        stopper.stop();
        runningSeen = runningLook();
        form.Image3->Click();
        EXPECT_TRUE(stoppedLook());
        restartAt = clock.peek();
        form.Image2->Click();
    });
    QObject::connect(strip.List1, &QListWidget::currentRowChanged, strip.List1, [&](int row) {
        if (row < 0)
            return;
        shown << strip.List1->item(row)->text();
        if (shown.size() == 1) {
            firstShownAt = clock.peek();
            stopper.start(0);
        } else if (shown.size() == 2) {
            nextShownAt = clock.peek();
        } else if (shown.size() == 3) {
            form.Image3->Click();
        }
    });
    form.Image2->Click();
    EXPECT_TRUE(runningSeen);
    EXPECT_EQ(shown, QStringList({"two", "three", "one"}));
    // The next entry came right after the restart: not even the strip's 0.3 s showing, let
    // alone a whole interval, was waited for in between.
    ASSERT_GE(restartAt, 0);
    EXPECT_LT(nextShownAt - restartAt, 0.3);
    EXPECT_TRUE(stoppedLook());
    EXPECT_FALSE(strip.isVisible());
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
}
