#include "presentation/modsubliminal.h"
#include "presentation/options.h"
#include "presentation/wait.h"

#include "../support/programfixture.h"

#include "platform/fullscreen.h"
#include "platform/settingsstore.h"

#include <QEvent>
#include <QListWidget>
#include <QTimer>

#include <sys/stat.h>

#include <tuple>
#include <utility>

using veltrano::Form2;
using veltrano::Presentation;

namespace {

// Records each entry the strip comes up with and, on the test's clock, how long it stays on
// the screen; stops the presentation after `count` entries.
class StripWatch : public QObject {
public:
    StripWatch(const SteppingClock& clock, int count) : clock_(clock), count_(count) {
        Form2::instance().installEventFilter(this);
    }
    QStringList entries;
    QList<double> seconds;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            shownAt_ = clock_.peek();
            if (const QListWidgetItem* item = Form2::instance().List1->currentItem())
                entries << item->text();
            if (entries.size() >= count_)
                Presentation::running = false;
        } else if (event->type() == QEvent::Hide && shownAt_ >= 0) {
            seconds << clock_.peek() - std::exchange(shownAt_, -1.0);
        }
        return false;
    }

private:
    const SteppingClock& clock_;
    int count_;
    double shownAt_ = -1;
};

// A full-screen window that is always active; it may stop the presentation when asked.
class FullScreen final : public platform::FullScreenProbe {
public:
    explicit FullScreen(bool stops) : stops_(stops) {}
    bool activeWindowIsFullScreen() const override {
        if (stops_)
            Presentation::running = false;
        return true;
    }

private:
    bool stops_;
    Override use_{*this};
};

// Runs the cycle on a clock that jumps, recording every entry that was put on show, and
// stops the presentation after `count` entries.
class CycleTest : public ProgramTest {
protected:
    QStringList present(int count, double step = 0.5, QList<double>* shownFor = nullptr) {
        SteppingClock clock(12 * 3600.0, step);
        platform::Clock::Override useClock(clock);
        StripWatch strip(clock, count);
        Presentation::running = true;
        veltrano::module();
        if (shownFor)
            *shownFor = strip.seconds;
        return strip.entries;
    }
};

} // namespace

// In file order from the second, wrapping around; the index survives a module switch and
// wraps to a shorter module.
TEST_F(CycleTest, EntriesComeInFileOrderFromTheSecondAndTheIndexCarriesOver) {
    writeModule(7, "W1\r\nW2\r\nW3\r\n");
    Presentation::SelectedModule = 7;
    EXPECT_EQ(present(4), QStringList({"W2", "W3", "W1", "W2"}));
    EXPECT_EQ(Presentation::WordIndex, 1);
    EXPECT_FALSE(Form2::instance().isVisible());
    // One Pop for every Push, however deep the cycle went.
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
    EXPECT_EQ(
        traceLines().mid(0, 6),
        QStringList({"modSubliminal.module", "modSubliminal.PauseWhileFullScreen", "Form2.time2",
                     "OnTopBas.FormOnTop", "Module2.AlwaysOnTop", "modSubliminal.Wait"}));

    writeModule(4, "a1\r\na2\r\na3\r\na4\r\na5\r\na6\r\na7\r\n");
    writeModule(5, "b1\r\nb2\r\nb3\r\n");
    Presentation::SelectedModule = 4;
    Presentation::WordIndex = 4;
    EXPECT_EQ(present(1), QStringList({"a6"}));
    Presentation::SelectedModule = 5;
    EXPECT_EQ(present(2), QStringList({"b1", "b2"}));

    writeModule(6, "only\r\n");
    Presentation::SelectedModule = 6;
    EXPECT_EQ(present(2), QStringList({"only", "only"}));
}

TEST_F(CycleTest, AMissingModuleEndsTheCycleWithError380) {
    handler().Push(QStringLiteral("Form2.Form_Load"));
    Presentation::SelectedModule = 9;
    EXPECT_TRUE(present(1).isEmpty());
    EXPECT_EQ(handler().ErrNum(), 380);
    EXPECT_EQ(handler().ErrDesc(), "Invalid property value");
    EXPECT_EQ(handler().ProcName(), "modSubliminal.module");
    EXPECT_EQ(handler().ErrLine(), "50");
    const QString report = handler().ErrorLogDisplay();
    EXPECT_TRUE(report.contains("01  Form2.Form_Load\r\n02    modSubliminal.module\r\n"));
    QFile log(temp.filePath(QStringLiteral("Error.log")));
    EXPECT_TRUE(log.exists());
    EXPECT_FALSE(Form2::instance().isVisible());
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
}

// The user's own copy wins over the chosen set of meanings, which wins over data/; a set
// that lacks the module falls back to data/. Every choice applies with the next entry.
TEST_F(CycleTest, ModulesAreLookedUpInTheUsersFolderThenTheChosenSetThenData) {
    writeModule(7, "en1\nen2\n");
    writeModule(7, "de1\nde2\n", QStringLiteral("data-de"));
    writeModule(8, "en-only1\nen-only2\n");
    Presentation::SelectedModule = 7;
    EXPECT_EQ(present(1), QStringList({"en2"}));
    veltrano::Options::setMeaningsIn(QStringLiteral("de"));
    EXPECT_EQ(present(1), QStringList({"de1"}));
    Presentation::SelectedModule = 8;
    EXPECT_EQ(present(1), QStringList({"en-only2"}));

    Presentation::SelectedModule = 7;
    writeUserModule(7, "mine1\nmine2\nmine3\n");
    EXPECT_EQ(present(1), QStringList({"mine3"}));

    // A copy of the user's that cannot be read is the module's failure, not a fallback.
    QFile::remove(veltrano::ModuleFiles::userPath(7));
    ASSERT_EQ(::mkfifo(QFile::encodeName(veltrano::ModuleFiles::userPath(7)).constData(), 0600), 0);
    EXPECT_TRUE(present(1).isEmpty());
    EXPECT_EQ(handler().ErrNum(), 380);
}

TEST_F(CycleTest, EachEntryShowsForTheChosenTime) {
    writeModule(7, "a\nb\n");
    Presentation::SelectedModule = 7;
    QList<double> times;
    for (const auto& [stored, low, high] :
         {std::tuple{"", 0.3, 0.45}, {"1", 1.0, 1.15}, {"2", 2.0, 2.15}, {"0.5", 0.3, 0.45}}) {
        platform::SettingsStore::current().SaveSetting(
            QStringLiteral("Veltrano Rudoz Arirera"), veltrano::Options::section(),
            veltrano::Options::entrySecondsKey(), QString::fromLatin1(stored));
        present(1, 0.05, &times);
        ASSERT_EQ(times.size(), 1);
        EXPECT_GE(times[0], low) << stored;
        EXPECT_LT(times[0], high) << stored;
    }
}

// While a full-screen window is active the due entry waits (shown later, never skipped:
// x11/strip_x11_test.cpp with a real full-screen window); stopped meanwhile, nothing more is
// shown and the index stays.
TEST_F(CycleTest, StoppedWhileAFullScreenWindowHoldsTheEntryBackOrPausingIsOff) {
    writeModule(7, "W1\nW2\nW3\n");
    Presentation::SelectedModule = 7;
    Presentation::WordIndex = 2;
    {
        FullScreen stopping(true);
        EXPECT_TRUE(present(1).isEmpty());
        EXPECT_EQ(Presentation::WordIndex, 2);
        EXPECT_FALSE(Form2::instance().isVisible());
    }
    // The learner switched the pause off.
    veltrano::Options::setPauseWhileFullScreen(false);
    FullScreen full(false);
    EXPECT_EQ(present(1), QStringList({"W1"}));
    EXPECT_EQ(handler().ErrNum(), 0);
}

// A wait of zero seconds handles pending events once; a longer one follows a changed
// interval and ends just after midnight.
TEST_F(CycleTest, AWaitHandlesEventsFollowsTheIntervalAndEndsJustAfterMidnight) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    veltrano::Wait(0.0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(traceLines(), QStringList({"modSubliminal.Wait"}));

    // One second passes per reading of the clock, starting at noon.
    SteppingClock clock(12 * 3600.0, 1.0);
    platform::Clock::Override useClock(clock);
    std::int16_t seconds = 15;
    // Raise the interval from an event handled inside the wait, 12 seconds in.
    QTimer raise;
    QObject::connect(&raise, &QTimer::timeout, [&] {
        if (clock.peek() >= 12 * 3600.0 + 12)
            seconds = 20;
    });
    raise.start(0);
    veltrano::Wait(seconds);
    EXPECT_EQ(seconds, 20);
    // Ended at the first reading at or past entry + 20 s (each pass reads the clock twice).
    EXPECT_GE(clock.peek(), 12 * 3600.0 + 20);
    EXPECT_LE(clock.peek(), 12 * 3600.0 + 23);

    SteppingClock late(23 * 3600.0 + 59 * 60 + 55, 1.0);
    platform::Clock::Override useLate(late);
    veltrano::Wait(15.0);
    EXPECT_LT(late.peek(), 10.0);
    // Starting inside the first ten seconds after midnight: one pass only.
    SteppingClock early(2.0, 0.001);
    platform::Clock::Override useEarly(early);
    veltrano::Wait(15.0);
    EXPECT_LT(early.peek(), 2.01);
}
