// The tray with a real tray host (trayer) under a window manager: a minimized window leaves
// the screen for its icon, Restore brings it back, and a restarted host raises Refreshed once
// and gets the persistent icon back.

#include "mainwindow/form1.h"
#include "mainwindow/systray.h"

#include "../support/programfixture.h"

#include "platform/classiccheckbox.h"
#include "platform/messagebox.h"
#include "platform/tests/support/fakes.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QtCore/qtestsupport_core.h>
#include <QWindow>

#include <tuple>

using veltrano::Form1;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

QString field(const QString& xwininfo, const QString& name) {
    for (const QString& line : xwininfo.split(u'\n'))
        if (line.trimmed().startsWith(name))
            return line.section(u':', 1).trimmed();
    return {};
}

QString mapState(WId id) {
    return field(run("xwininfo", {"-id", QString::number(id)}), "Map State");
}

// The icon is docked when the host has taken its window in: viewable, and no longer a
// child of the root window.
bool iconDocked() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qstrcmp(w->metaObject()->className(), "QSystemTrayIconSys") != 0 || !w->windowHandle())
            continue;
        const QString tree = run("xwininfo", {"-tree", "-id", QString::number(w->winId())});
        const QString root = field(tree, "Root window id").section(u' ', 0, 0);
        const QString parent = field(tree, "Parent window id").section(u' ', 0, 0);
        if (!parent.isEmpty() && parent != root && mapState(w->winId()) == "IsViewable")
            return true;
    }
    return false;
}

class TrayOnX11 : public ProgramTest {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        startHost();
    }
    void TearDown() override { stopHost(); }

    void startHost() {
        host.start("trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "request",
                              "--heighttype", "pixel", "--height", "24"});
        ASSERT_TRUE(host.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([] { return veltrano::SysTray::trayAvailable(); }, 10000));
    }
    void stopHost() {
        host.kill();
        host.waitForFinished();
    }

    QProcess host;
};

} // namespace

TEST_F(TrayOnX11, MinimizingHidesTheWindowBehindItsIconUntilRestore) {
    Form1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mapState(form.winId()) == "IsViewable"; }));
    form.Form_Load();
    form.Check3->setValue(1); // persistent

    // The timer's ticks notice the minimized window and hand it to the tray.
    form.setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }));
    EXPECT_EQ(mapState(form.winId()), "IsUnMapped");
    EXPECT_TRUE(QTest::qWaitFor(iconDocked));
    EXPECT_TRUE(form.mRestore->isEnabled());

    form.mRestore->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return mapState(form.winId()) == "IsViewable"; }));
    EXPECT_FALSE(form.windowState() & Qt::WindowMinimized);

    // The host goes away and comes back: one Refreshed, and the persistent icon returns.
    platform::MsgBoxRecorder boxes;
    stopHost();
    ASSERT_TRUE(QTest::qWaitFor([] { return !veltrano::SysTray::trayAvailable(); }));
    // The host's end reaches the tray as an event (its slow look for hosts that announce
    // themselves otherwise comes only after this test's first seconds): the icon goes.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.cTray->IconShown(); }));
    startHost();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !boxes.calls().isEmpty(); }));
    // Proving that no second Refreshed follows needs a bound: a second would follow the
    // first's events at once.
    EXPECT_FALSE(QTest::qWaitFor([&] { return boxes.calls().size() > 1; }, 2500));
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(std::tuple(boxes.calls()[0].prompt, boxes.calls()[0].buttons, boxes.calls()[0].title),
              std::tuple("The notification area has been restarted.", platform::mb::OKOnly,
                         "Veltrano Rudoz Arirera"));
    EXPECT_TRUE(QTest::qWaitFor(iconDocked));
    EXPECT_EQ(form.Check1->Value(), 1);
    EXPECT_EQ(handler().ErrNum(), 0);
}
