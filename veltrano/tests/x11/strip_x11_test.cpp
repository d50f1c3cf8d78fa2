// The strip under a real window manager, as x11/program_x11_test.sh cannot arrange it: a
// full-screen window the user watches holds the strip back. (That the strip comes up above
// the window the user works in without taking the focus, and goes again, is proved by the
// built program in x11/program_x11_test.sh.)

#include "presentation/modsubliminal.h"

#include "../support/programfixture.h"

#include "platform/fullscreen.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QProcess>
#include <QtCore/qtestsupport_core.h>
#include <QTimer>
#include <QWindow>

using veltrano::Form2;
using veltrano::Presentation;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

class StripOnX11 : public ProgramTest {
protected:
    void SetUp() override { ASSERT_EQ(QGuiApplication::platformName(), "xcb"); }
};

// The display's own answer, counted.
class CountingProbe final : public platform::FullScreenProbe {
public:
    bool activeWindowIsFullScreen() const override {
        const bool full = production().activeWindowIsFullScreen();
        (full ? fullAnswers : otherAnswers)++;
        return full;
    }
    mutable int fullAnswers = 0;
    mutable int otherAnswers = 0;
};
} // namespace

// A video played full screen: the due entry waits while the player is active, then comes
// (the same entry, nothing skipped) once the player is gone.
TEST_F(StripOnX11, NothingShowsOverAFullScreenWindowUntilItIsGone) {
    writeModule(4, "first - one\nsecond - two\nthird - three\n");
    Presentation::SelectedModule = 4;
    Presentation::WordInterval = 1;

    QWidget player;
    player.setWindowTitle(QStringLiteral("player"));
    player.showFullScreen();
    player.activateWindow();
    const QString playerId = QString::number(player.windowHandle()->winId());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return run("xdotool", {"getactivewindow"}) == playerId &&
                   run("xprop", {"-id", playerId, "_NET_WM_STATE"})
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
    EXPECT_GE(probe.otherAnswers, 1);
    EXPECT_EQ(handler().ErrNum(), 0);
}
