// The strip under a real window manager: it comes up above the window the user works in,
// that window keeps the keyboard focus, and the strip is gone again after its 0.3 second.

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

// Window ids as the X tools print them, as numbers.
qulonglong windowId(const QString& text) {
    return text.toULongLong(nullptr, 0);
}

// The client windows from bottom to top, as the window manager stacks them.
QList<qulonglong> stacking() {
    const QString line = run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
    QList<qulonglong> ids;
    for (const QString& part : line.section(u'#', 1).split(u',', Qt::SkipEmptyParts))
        ids << windowId(part.trimmed());
    return ids;
}

class StripOnX11 : public ProgramTest {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        // The program the user works in, active and focused.
        other.start("xmessage", {"-geometry", "900x300+100+100", "working elsewhere"});
        ASSERT_TRUE(other.waitForStarted());
        QString id;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                id = run("xdotool", {"search", "--limit", "1", "--class", "Xmessage"});
                return !id.isEmpty();
            },
            20000));
        otherWindow = id.toULongLong();
        // On a loaded machine the window manager may not have made it active yet when the
        // request returns: ask until it has.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                if (run("xdotool", {"getactivewindow"}).toULongLong() == otherWindow)
                    return true;
                run("xdotool", {"windowactivate", id});
                return false;
            },
            20000));
    }
    void TearDown() override {
        other.kill();
        other.waitForFinished();
    }

    QProcess other;
    qulonglong otherWindow = 0;
};

} // namespace

TEST_F(StripOnX11, ShowsAboveWithoutTakingTheFocusAndHidesAgain) {
    writeModule(4, "first - one\r\nsecond - two\r\n");
    Presentation::SelectedModule = 4;
    Presentation::WordInterval = 1;
    Presentation::running = true;

    qulonglong active = 0, strip = 0;
    QList<qulonglong> order;
    QString state;
    bool managed = false;
    Form2& window = Form2::instance();
    int shown = 0;
    // Looks at the strip once it is up. The strip stays up while this runs (its wait goes on
    // afterwards), so the window manager can take its time.
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (!window.isVisible() || !window.windowHandle())
            return;
        look.stop();
        // The X window as it is now: the widget's own id is not renewed when a change of
        // window flags makes Qt create the X window anew.
        strip = qulonglong(window.windowHandle()->winId());
        managed = QTest::qWaitFor(
            [&] {
                order = stacking();
                state = run("xprop", {"-id", QString::number(strip), "_NET_WM_STATE"});
                return order.contains(strip) && state.contains("_NET_WM_STATE_ABOVE");
            },
            20000);
        active = run("xdotool", {"getactivewindow"}).toULongLong();
    });
    QObject::connect(window.List1, &QListWidget::currentRowChanged, window.List1, [&](int row) {
        // Look at the second showing: the first one switched the window to topmost.
        if (row < 0 || ++shown < 2)
            return;
        Presentation::running = false;
        look.start(0);
    });
    veltrano::module();

    EXPECT_EQ(window.List1->currentItem()->text(), "first - one");
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(active, otherWindow) << "the strip took the focus";
    ASSERT_TRUE(order.contains(strip));
    ASSERT_TRUE(order.contains(otherWindow));
    EXPECT_GT(order.indexOf(strip), order.indexOf(otherWindow)) << "the strip is not on top";
    EXPECT_TRUE(managed) << state.toStdString();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return run("xwininfo", {"-id", QString::number(strip)}).contains("IsUnMapped");
    }));
    EXPECT_EQ(handler().ErrNum(), 0);
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
}

namespace {
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
