#include "effects/modtrans.h"
#include "effects/module2.h"
#include "effects/ontopbas.h"
#include "platform/layeredwindow.h"
#include "platform/twips.h"
#include "presentation/form2.h"
#include "tracing/clsaehandling.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <memory>
#include <vector>

using namespace veltrano;

namespace {

trapwell::ErrHandler handler() {
    return clsAEHandling::shared().Handler();
}

// Every procedure must leave the stack as it found it: a sentinel pushed before each test
// catches a missing Pop and an extra one alike.
class EffectsTest : public testing::Test {
protected:
    void SetUp() override { handler().Push(QString::fromLatin1(sentinel)); }
    void TearDown() override {
        EXPECT_EQ(handler().CallStack(), QStringList({QString(), QString::fromLatin1(sentinel)}));
        handler().Pop();
    }

    static constexpr char sentinel[] = "EffectsTest.Sentinel";
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
};

// Records each alpha a window takes, and whether it was shown and disabled at that moment.
class AlphaRecorder : public QObject {
public:
    explicit AlphaRecorder(QWidget* window) : window_(window) { window->installEventFilter(this); }

    std::vector<int> alphas;
    bool shownAndDisabledThroughout = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::DynamicPropertyChange &&
            static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() ==
                platform::layeredAlphaProperty) {
            alphas.push_back(platform::layeredAttributes(window_).alpha);
            if (alphas.size() > 1) // the first alpha is set before the fade begins
                shownAndDisabledThroughout &= window_->isVisible() && !window_->isEnabled();
        }
        return false;
    }

private:
    QWidget* window_;
};

using Translucency = EffectsTest;

TEST_F(Translucency, WindowIsLayeredFromItsFirstAlpha) {
    EXPECT_EQ(isTransparent(window.get()), 0);
    EXPECT_EQ(GetTrans(window.get()), -1);

    EXPECT_TRUE(SetTrans(window.get(), 128));
    EXPECT_EQ(isTransparent(window.get()), platform::LWA_ALPHA);
    EXPECT_EQ(GetTrans(window.get()), 128);
    EXPECT_NEAR(window->windowOpacity(), 128 / 255.0, 1 / 255.0);
}

TEST_F(Translucency, MissingWindowGivesFailureResults) {
    EXPECT_EQ(isTransparent(nullptr), -1);
    EXPECT_EQ(GetTrans(nullptr), -1);
    EXPECT_FALSE(SetTrans(nullptr, 10));
    EXPECT_FALSE(FadeOut(nullptr, 0, 100));
}

using Fade = EffectsTest;

TEST_F(Fade, WindowAlreadyBelowFinalIsLeftAlone) {
    SetTrans(window.get(), 100);
    EXPECT_FALSE(FadeOut(window.get(), 200, 2));
    EXPECT_EQ(GetTrans(window.get()), 100);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Fade, FadesOutFromOpaqueAndHides) {
    AlphaRecorder recorder(window.get());
    EXPECT_TRUE(FadeOut(window.get(), 0, 2.0f));

    std::vector<int> expected{255};
    for (int alpha = 253; alpha > 0; alpha -= 2)
        expected.push_back(alpha);
    expected.push_back(0);
    EXPECT_EQ(recorder.alphas, expected);
    EXPECT_TRUE(recorder.shownAndDisabledThroughout);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(GetTrans(window.get()), 0);
}

TEST_F(Fade, LastStepStopsAtFinal) {
    SetTrans(window.get(), 255);
    AlphaRecorder recorder(window.get());
    EXPECT_TRUE(FadeOut(window.get(), 0, 100));
    EXPECT_EQ(recorder.alphas, (std::vector<int>{155, 55, 0}));

    SetTrans(window.get(), 255);
    recorder.alphas.clear();
    EXPECT_TRUE(FadeOut(window.get(), 55, 100));
    EXPECT_EQ(recorder.alphas, (std::vector<int>{155, 55}));
    EXPECT_TRUE(window->isVisible()); // only a fade to nothing hides the window

    // Levels between whole alphas round to the nearest, halves to even.
    SetTrans(window.get(), 255);
    recorder.alphas.clear();
    EXPECT_TRUE(FadeOut(window.get(), 245, 2.5f));
    EXPECT_EQ(recorder.alphas, (std::vector<int>{252, 250, 248, 245}));
}

TEST_F(Fade, StepThatMakesNoProgressEndsTheFade) {
    SetTrans(window.get(), 255);
    EXPECT_FALSE(FadeOut(window.get(), 10, 0));
    EXPECT_EQ(GetTrans(window.get()), 255);
    EXPECT_TRUE(window->isEnabled());
}

using Drag = EffectsTest;

TEST_F(Drag, ObjectWithoutWindowMovesNothing) {
    QObject plain;
    EXPECT_NO_THROW(FormDrag(&plain));
    EXPECT_NO_THROW(FormDrag(nullptr));
}

using OnTop = EffectsTest;

TEST_F(OnTop, SwitchesTopmostWithoutMovingTheWindow) {
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const QRect place(100, 120, 300, 40);
    window->setGeometry(place);
    window->show();
    std::int32_t handle = platform::handleOf(window.get());

    bool topMost = false;
    FormOnTop(handle, topMost);
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry(), place);

    handle = platform::handleOf(window.get()); // changing the flags may give a new handle
    topMost = true;
    FormOnTop(handle, topMost);
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window->geometry(), place);
}

TEST_F(OnTop, UnknownHandleGoesToTheErrorHandler) {
    std::int32_t handle = 0;
    bool topMost = true;
    FormOnTop(handle, topMost);
    EXPECT_EQ(handler().ErrNum(), 5);
    EXPECT_EQ(handler().ProcName(), QStringLiteral("OnTopBas.FormOnTop"));
    // The error path empties the stack, as the program's error path does.
    EXPECT_EQ(handler().CallStack(), QStringList({QString()}));
    handler().Push(QString::fromLatin1(sentinel));
}

TEST_F(OnTop, DisplayWindowGoesOnTopWhereItIs) {
    Form2& form = Form2::instance();
    const QRect place = form.geometry();
    bool enable = true;
    AlwaysOnTop(enable);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.geometry(), place);

    enable = false;
    AlwaysOnTop(enable);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.geometry(), place);
    Form2::destroyForTests();
}

TEST(PlatformLayers, TwipsRoundHalvesToEven) {
    EXPECT_EQ(platform::pixelsFromTwips(22.5, 15), 2); // 1.5
    EXPECT_EQ(platform::pixelsFromTwips(37.5, 15), 2); // 2.5
    EXPECT_EQ(platform::pixelsFromTwips(-22.5, 15), -2);
    EXPECT_EQ(platform::pixelsFromTwips(1440, 12), 120);
    EXPECT_EQ(platform::twipsFromPixels(3, 12.5), 38); // 37.5
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_DOUBLE_EQ(platform::twipsPerPixelX() * screen->logicalDotsPerInchX(), 1440.0);
    EXPECT_DOUBLE_EQ(platform::twipsPerPixelY() * screen->logicalDotsPerInchY(), 1440.0);
}

TEST(PlatformLayers, WindowsAreFoundByHandle) {
    QWidget window;
    EXPECT_EQ(platform::windowFromHandle(platform::handleOf(&window)), &window);
    try {
        platform::windowFromHandle(0);
        ADD_FAILURE() << "no error for a handle without a window";
    } catch (const trapwell::RuntimeError& e) {
        EXPECT_EQ(e.number(), 5);
    }
}

} // namespace
