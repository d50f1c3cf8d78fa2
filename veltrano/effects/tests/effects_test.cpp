#include "effects/modtrans.h"
#include "effects/module2.h"
#include "effects/ontopbas.h"
#include "platform/clock.h"
#include "platform/layeredwindow.h"
#include "platform/twips.h"
#include "presentation/form2.h"

#include "support/programfixture.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <vector>

using namespace veltrano;

namespace {

// Every procedure must leave the stack as it found it: a sentinel pushed before each test
// catches a missing Pop and an extra one alike.
class EffectsTest : public ProgramTest, public QObject {
protected:
    void SetUp() override {
        handler().Push(sentinel);
        window.installEventFilter(this);
    }
    void TearDown() override {
        EXPECT_EQ(handler().CallStack(), QStringList({QString(), sentinel}));
        handler().Pop();
    }
    // Records each alpha the window takes, and whether it was shown and disabled meanwhile.
    bool eventFilter(QObject*, QEvent* event) override {
        const auto* change = dynamic_cast<QDynamicPropertyChangeEvent*>(event);
        if (change && change->propertyName() == platform::layeredAlphaProperty) {
            alphas.push_back(platform::layeredAttributes(&window).alpha);
            if (alphas.size() > 1) // the first alpha is set before the fade begins
                shownAndDisabledThroughout &= window.isVisible() && !window.isEnabled();
        }
        return false;
    }

    inline static const QString sentinel = "EffectsTest.Sentinel";
    QWidget window;
    std::vector<int> alphas;
    bool shownAndDisabledThroughout = true;
};

TEST_F(EffectsTest, WindowIsLayeredFromItsFirstAlphaAndAFadeThatCannotProceedChangesNothing) {
    EXPECT_EQ(isTransparent(&window), 0);
    EXPECT_EQ(GetTrans(&window), -1);
    EXPECT_TRUE(SetTrans(&window, 100));
    EXPECT_EQ(isTransparent(&window), platform::LWA_ALPHA);
    EXPECT_NEAR(window.windowOpacity(), 100 / 255.0, 1 / 255.0);
    EXPECT_FALSE(FadeOut(&window, 200, 2)); // already below Final
    EXPECT_EQ(GetTrans(&window), 100);
    SetTrans(&window, 255);
    EXPECT_FALSE(FadeOut(&window, 10, 0)); // a step that makes no progress would never end
    EXPECT_EQ(GetTrans(&window), 255);
    EXPECT_TRUE(window.isEnabled());
    QObject plain; // dragging an object without a window does nothing, and does not crash
    FormDrag(&plain);
}

namespace {
// A time of day that moves only when the test moves it.
struct SteppedClock : platform::Clock {
    QDateTime now() const override {
        return QDateTime(QDate(2026, 3, 1), QTime(12, 0)).addMSecs(qint64(seconds * 1000));
    }
    double secondsSinceMidnight() const override { return 12 * 3600 + seconds; }
    double seconds = 0;
};
} // namespace

// The fade is paced by the program's clock: here each pass of event handling moves that
// clock on by half a millisecond and notes the alpha it finds.
TEST_F(EffectsTest, FadesOutFromOpaqueInAQuarterSecondWithAPassBeforeEveryStepAndHides) {
    SteppedClock clock;
    platform::Clock::Override fixed(clock);
    std::vector<int> seen;         // each alpha a pass found, once
    std::vector<double> firstSeen; // when it was found first
    QTimer pass;
    QObject::connect(&pass, &QTimer::timeout, [&] {
        const int alpha = platform::layeredAttributes(&window).alpha;
        if (seen.empty() || seen.back() != alpha) {
            seen.push_back(alpha);
            firstSeen.push_back(clock.seconds);
        }
        clock.seconds += 0.0005;
    });
    pass.start(0);
    EXPECT_TRUE(FadeOut(&window, 0, 2.0f));
    pass.stop();

    std::vector<int> steps{255}; // made layered and opaque first
    for (int alpha = 253; alpha >= 1; alpha -= 2)
        steps.push_back(alpha);
    // Every level was there for a pass to see: no two steps in one pass.
    EXPECT_EQ(seen, steps);
    steps.push_back(0);
    EXPECT_EQ(alphas, steps);
    // Opaque to transparent in a quarter of a second of the clock, the steps spread evenly.
    EXPECT_GE(clock.seconds, 0.25);
    EXPECT_LT(clock.seconds, 0.2515);
    for (std::size_t k = 1; k < firstSeen.size(); ++k)
        EXPECT_GE(firstSeen[k], 0.25 * (255 - seen[k]) / 255 - 1e-9) << seen[k];
    EXPECT_TRUE(shownAndDisabledThroughout);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(EffectsTest, FadeStopsAtFinal) {
    const auto fade = [&](std::uint8_t final, float step) {
        SetTrans(&window, 255);
        alphas.clear();
        EXPECT_TRUE(FadeOut(&window, final, step));
        return alphas;
    };
    EXPECT_EQ(fade(0, 100), (std::vector{155, 55, 0}));
    EXPECT_EQ(fade(55, 100), (std::vector{155, 55}));
    EXPECT_TRUE(window.isVisible()); // only a fade to nothing hides the window
    // Levels between whole alphas round to the nearest, halves to even.
    EXPECT_EQ(fade(245, 2.5f), (std::vector{252, 250, 248, 245}));
}

// Both the window given by handle and the display window switch without moving.
TEST_F(EffectsTest, TopmostSwitchesKeepTheWindowWhereItIs) {
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const QRect place(100, 120, 300, 40);
    window.setGeometry(place);
    window.show();
    Form2& form = Form2::instance();
    const QRect formPlace = form.geometry();
    for (bool topMost : {false, true}) {
        std::int32_t handle = platform::handleOf(&window); // new flags may give a new handle
        FormOnTop(handle, topMost);
        EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), topMost);
        EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating));
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.geometry(), place);
        bool enable = !topMost; // taken by reference
        AlwaysOnTop(enable);
        EXPECT_EQ(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint), enable);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.geometry(), formPlace);
    }
}

TEST_F(EffectsTest, FormOnTopSendsUnknownHandleToTheErrorHandler) {
    std::int32_t handle = 0;
    bool topMost = true;
    FormOnTop(handle, topMost);
    EXPECT_EQ(handler().ErrNum(), 5);
    EXPECT_EQ(handler().ProcName(), QStringLiteral("OnTopBas.FormOnTop"));
    // The error path empties the stack, as the program's error path does.
    EXPECT_EQ(handler().CallStack(), QStringList({QString()}));
    handler().Push(sentinel);
}

TEST(PlatformLayers, TwipsRoundHalvesToEven) {
    EXPECT_EQ(platform::pixelsFromTwips(22.5, 15), 2); // 1.5
    EXPECT_EQ(platform::pixelsFromTwips(37.5, 15), 2); // 2.5
    EXPECT_EQ(platform::pixelsFromTwips(-22.5, 15), -2);
    EXPECT_EQ(platform::twipsFromPixels(3, 12.5), 38); // 37.5
}

} // namespace
