// The strip under a real window manager where x11/program_x11_test.sh (the strip above the
// window the user works in, without the focus) cannot arrange it: a full-screen window holds
// the strip back, or not, the strip stays out of the task bar, and the mouse drags it.

#include "presentation/modsubliminal.h"

#include "presentation/tests/support/programfixture.h"

#include "platform/fullscreen.h"
#include "platform/tests/support/process.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPixmap>
#include <QScreen>
#include <QtCore/qtestsupport_core.h>
#include <QTimer>
#include <QWindow>

#include <memory>

using testprocess::output;
using veltrano::Form2;
using veltrano::Presentation;

namespace {

class StripOnX11 : public ProgramTest {
protected:
    void SetUp() override { ASSERT_EQ(QGuiApplication::platformName(), "xcb"); }
    void TearDown() override {
        other.kill();
        other.waitForFinished();
    }

    // Another program the user works in, under the strip's place (an xmessage), made active
    // and, when asked, full screen as its user would: through the window manager.
    void workElsewhere(bool fullScreen) {
        other.start("xmessage", {"-name", "elsewhere", "-geometry", "1000x500+200+150", "work"});
        otherId =
            output("xdotool", {"search", "--sync", "--classname", "elsewhere"}).section('\n', 0, 0);
        player.reset(QWindow::fromWinId(otherId.toULongLong()));
        if (fullScreen)
            player->setWindowState(Qt::WindowFullScreen);
        output("xdotool", {"windowactivate", otherId});
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return active() == otherId &&
                   platform::FullScreenProbe::production().activeWindowIsFullScreen() == fullScreen;
        }));
    }
    static QString active() { return output("xdotool", {"getactivewindow"}); }

    QProcess other;
    QString otherId;
    std::unique_ptr<QWindow> player; // the other program's window as this one can ask for it
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

// Whether the screen shows the strip's own pixel at a point of its plain background, right
// of any entry: the strip is mapped, drawn and above every window there.
bool onScreen(QWidget& strip) {
    const QPoint at(strip.width() - 4, strip.height() / 2);
    const QPoint global = strip.mapToGlobal(at);
    const QImage screen =
        QGuiApplication::primaryScreen()->grabWindow(0, global.x(), global.y(), 1, 1).toImage();
    return screen.pixel(0, 0) == strip.grab(QRect(at, QSize(1, 1))).toImage().pixel(0, 0);
}

class StripBesideAnotherProgram : public StripOnX11, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        StripOnX11::SetUp();
        workElsewhere(GetParam());
    }
};
INSTANTIATE_TEST_SUITE_P(, StripBesideAnotherProgram, ::testing::Values(false, true),
                         [](const auto& row) { return row.param ? "FullScreen" : "Windowed"; });

} // namespace

// An entry shows as the cycle shows it, "Pause While Full Screen" unticked: each time, mapped
// anew, the strip stays out of the task bar, the pager and the focus under the program's
// name, above the program the user works in, be it full screen.
TEST_P(StripBesideAnotherProgram, EachEntryShowsOnTopOffTheTaskBarWithoutTheFocus) {
    Form2& strip = Form2::instance();
    for (int entry = 1; entry <= 2; ++entry) {
        strip.time2();
        ASSERT_TRUE(QTest::qWaitFor([&] { return onScreen(strip); })) << "entry " << entry;
        const QString hints =
            output("xprop", {"-id", QString::number(strip.windowHandle()->winId()), "_NET_WM_STATE",
                             "_NET_WM_WINDOW_TYPE", "_NET_WM_NAME"});
        for (const char* hint : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                                 "= _NET_WM_WINDOW_TYPE_NOTIFICATION", "= \"Veltrano\""})
            EXPECT_TRUE(hints.contains(hint)) << hint << ", entry " << entry << ":\n"
                                              << hints.toStdString();
        EXPECT_EQ(active(), otherId) << "entry " << entry;
        strip.hide();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !placed(strip).viewable; }));
    }
    EXPECT_EQ(handler().ErrNum(), 0);
}

// A video played full screen in another program: the due entry waits while the player is
// active, then comes (the same entry, nothing skipped) once the player is gone.
TEST_F(StripOnX11, NothingShowsOverAFullScreenWindowUntilItIsGone) {
    writeModule(4, "first - one\nsecond - two\nthird - three\n");
    Presentation::SelectedModule = 4;
    Presentation::WordInterval = 1;

    ASSERT_NO_FATAL_FAILURE(workElsewhere(true));

    CountingProbe probe;
    platform::FullScreenProbe::Override use(probe);
    // Once the cycle has held the entry back a few times, the video ends.
    QTimer closePlayer;
    bool playerClosed = false;
    QObject::connect(&closePlayer, &QTimer::timeout, [&] {
        if (probe.fullAnswers >= 3) {
            other.kill();
            playerClosed = true;
        }
    });
    closePlayer.start(50);

    QStringList shown;
    bool playerClosedWhenShown = false;
    Form2& window = Form2::instance();
    QObject::connect(window.List1, &QListWidget::currentRowChanged, window.List1, [&](int row) {
        if (row < 0)
            return;
        shown << window.List1->item(row)->text();
        playerClosedWhenShown = playerClosed;
        Presentation::running = false;
    });
    Presentation::running = true;
    veltrano::module();

    EXPECT_EQ(shown, QStringList({"second - two"}));
    EXPECT_TRUE(playerClosedWhenShown);
    EXPECT_GE(probe.fullAnswers, 3);
    EXPECT_EQ(handler().ErrNum(), 0);
}

// The strip has no title bar: pressing anywhere on it and moving the mouse moves it, over a
// full-screen window too.
TEST_P(StripBesideAnotherProgram, TheMouseDragsTheStrip) {
    Form2& strip = Form2::instance();
    strip.time2();
    ASSERT_TRUE(QTest::qWaitFor([&] { return onScreen(strip); }));
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
