// The strip under a real window manager where x11/program_x11_test.sh (the strip above the
// window the user works in, without the focus) cannot arrange it: a full-screen window holds
// the strip back, and the mouse drags it.

#include "presentation/modsubliminal.h"

#include "presentation/tests/support/programfixture.h"

#include "platform/fullscreen.h"
#include "platform/tests/support/process.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QtCore/qtestsupport_core.h>
#include <QTimer>
#include <QWindow>

using testprocess::output;
using veltrano::Form2;
using veltrano::Presentation;

namespace {

class StripOnX11 : public ProgramTest {
protected:
    void SetUp() override { ASSERT_EQ(QGuiApplication::platformName(), "xcb"); }
};

// The display's own answer, its full-screen answers counted.
class CountingProbe final : public platform::FullScreenProbe {
public:
    bool activeWindowIsFullScreen() const override {
        const bool full = production().activeWindowIsFullScreen();
        fullAnswers += full;
        return full;
    }
    mutable int fullAnswers = 0;
};

// What xwininfo tells of a window: its map state and where the window manager has put it.
struct Placed {
    bool viewable;
    QPoint at;
};
Placed placed(const QWidget& window) {
    // winId() can name the window the widget had before a change of its flags.
    const QString info =
        output("xwininfo", {"-id", QString::number(window.windowHandle()->winId())});
    auto field = [&](const char* name) {
        return info.section(QLatin1String(name), 1).section(u'\n', 0, 0).trimmed().toInt();
    };
    return {info.contains("IsViewable"),
            {field("Absolute upper-left X:"), field("Absolute upper-left Y:")}};
}

} // namespace

// A video played full screen: the due entry waits while the player is active, then comes
// (the same entry, nothing skipped) once the player is gone.
TEST_F(StripOnX11, NothingShowsOverAFullScreenWindowUntilItIsGone) {
    writeModule(4, "first - one\nsecond - two\nthird - three\n");
    Presentation::SelectedModule = 4;
    Presentation::WordInterval = 1;

    QWidget player;
    player.showFullScreen();
    player.activateWindow();
    const QString playerId = QString::number(player.windowHandle()->winId());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return output("xdotool", {"getactivewindow"}) == playerId &&
                   output("xprop", {"-id", playerId, "_NET_WM_STATE"})
                       .contains("_NET_WM_STATE_FULLSCREEN");
        },
        10000));

    CountingProbe probe;
    platform::FullScreenProbe::Override use(probe);
    // Once the cycle has held the entry back a few times, the video ends.
    QTimer closePlayer;
    QObject::connect(&closePlayer, &QTimer::timeout, &player, [&] {
        if (probe.fullAnswers >= 3)
            player.hide();
    });
    closePlayer.start(50);

    QStringList shown;
    bool playerVisibleWhenShown = true;
    Form2& window = Form2::instance();
    QObject::connect(window.List1, &QListWidget::currentRowChanged, window.List1, [&](int row) {
        if (row < 0)
            return;
        shown << window.List1->item(row)->text();
        playerVisibleWhenShown = player.isVisible();
        Presentation::running = false;
    });
    Presentation::running = true;
    veltrano::module();

    EXPECT_EQ(shown, QStringList({"second - two"}));
    EXPECT_FALSE(playerVisibleWhenShown);
    EXPECT_GE(probe.fullAnswers, 3);
    EXPECT_EQ(handler().ErrNum(), 0);
}

// The strip has no title bar: pressing anywhere on it and moving the mouse moves it.
TEST_F(StripOnX11, TheMouseDragsTheStrip) {
    Form2& strip = Form2::instance();
    strip.time2();
    ASSERT_TRUE(QTest::qWaitFor([&] { return placed(strip).viewable; }));
    const QPoint before = placed(strip).at;
    const QPoint grip = before + QPoint(40, strip.height() / 2);
    output("xdotool",
           {"mousemove", QString::number(grip.x()), QString::number(grip.y()), "mousedown", "1"});
    // Once the strip has handled the press, the window manager follows the pointer's moves.
    ASSERT_TRUE(QTest::qWaitFor([&] { return traceLines().contains("Form2.Form_MouseDown"); }));
    int step = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QPoint to = grip + QPoint(120, 90 + step++ % 2);
        output("xdotool", {"mousemove", QString::number(to.x()), QString::number(to.y())});
        const QPoint moved = placed(strip).at - before;
        return moved.x() == 120 && moved.y() >= 90;
    }));
    output("xdotool", {"mouseup", "1"});
    EXPECT_EQ(handler().ErrNum(), 0);
}
