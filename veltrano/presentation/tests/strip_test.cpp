#include "effects/modtrans.h"
#include "platform/layeredwindow.h"
#include "platform/tests/support/fakes.h"

#include "presentation/tests/support/programfixture.h"

#include <QEvent>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <tuple>
#include <vector>

using namespace veltrano;

namespace {

// Every procedure must leave the stack as it found it: a sentinel pushed before each test
// catches a missing Pop and an extra one alike.
class StripTest : public ProgramTest, public QObject {
protected:
    void SetUp() override {
        handler().Push(sentinel);
        strip.installEventFilter(this);
        QObject::connect(&pass, &QTimer::timeout, [this] { ++passes; });
        pass.start(0);
    }
    void TearDown() override {
        EXPECT_EQ(handler().CallStack(), QStringList({QString(), sentinel}));
        handler().Pop();
    }
    // Notes each alpha the strip takes, and when and how it came.
    bool eventFilter(QObject*, QEvent* event) override {
        const auto* change = dynamic_cast<QDynamicPropertyChangeEvent*>(event);
        if (change && change->propertyName() == platform::layeredAlphaProperty) {
            levels.push_back(platform::layeredAttributes(&strip).alpha);
            notes.push_back({passes, clock.peek() - noon, strip.isVisible() && !strip.isEnabled()});
        }
        return false;
    }

    inline static const QString sentinel = "StripTest.Sentinel";
    static constexpr double noon = 12 * 3600.0;
    // The program's clock moves on half a millisecond at every reading.
    SteppingClock clock{noon, 0.0005};
    platform::Clock::Override fixed{clock};
    QTimer pass; // one pass of event handling after another, none of them waiting
    int passes = 0;
    Form2& strip = Form2::instance();
    std::vector<int> levels;
    std::vector<std::tuple<int, double, bool>> notes; // pass, time, shown and disabled
};

} // namespace

// Steps of two, each at its own time from the start and after a pass of event handling, the
// strip shown and disabled meanwhile.
TEST_F(StripTest, AClosedStripFadesOutInAQuarterSecondAndTheProgramEnds) {
    platform::ProgramEndRecorder ends;
    strip.close();
    std::vector<int> steps{255}; // made layered and opaque first
    for (int alpha = 253; alpha >= -1; alpha -= 2)
        steps.push_back(std::max(alpha, 0));
    EXPECT_EQ(levels, steps);
    for (std::size_t k = 1; k < notes.size(); ++k) {
        const auto [pass, at, shownAndDisabled] = notes[k];
        EXPECT_GT(pass, std::get<0>(notes[k - 1])) << levels[k];
        EXPECT_GE(at, 0.25 * (255 - levels[k]) / 255) << levels[k];
        EXPECT_TRUE(shownAndDisabled) << levels[k];
    }
    const double took = clock.peek() - 0.0005 - noon; // at the clock's last reading
    EXPECT_GE(took, 0.25);
    EXPECT_LT(took, 0.2515);
    EXPECT_FALSE(strip.isVisible());
    EXPECT_TRUE(strip.isEnabled());
    EXPECT_EQ(ends.count(), 1);

    // Made layered again, it fades from its own alpha. (Its opacity is the platform's.)
    levels.clear();
    EXPECT_TRUE(SetTrans(&strip, 5));
    EXPECT_NEAR(strip.windowOpacity(), 5 / 255.0, 1 / 255.0);
    EXPECT_TRUE(FadeOut(&strip));
    EXPECT_EQ(levels, (std::vector{5, 3, 1, 0}));
    EXPECT_FALSE(strip.isVisible());
}

// Without taking the focus, as program_x11_test.sh proves. A click makes the window manager
// activate the strip: keys typed then leave its entry alone. (The drag itself is proved on X11.)
TEST_F(StripTest, TheStripComesUpWhereItWasAndKeysLeaveItsEntryAlone) {
    const QRect place = strip.geometry();
    strip.List1->addItems({"one", "two", "three"});
    strip.List1->setCurrentRow(1);
    strip.time2();
    EXPECT_TRUE(strip.isVisible());
    EXPECT_TRUE(strip.windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
    EXPECT_EQ(strip.geometry(), place);
    strip.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&strip));
    QTest::keyClick(strip.windowHandle(), Qt::Key_Down);
    EXPECT_EQ(strip.List1->currentRow(), 1);
}
