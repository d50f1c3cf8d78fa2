#include "presentation/modsubliminal.h"
#include "presentation/options.h"
#include "presentation/readingplace.h"
#include "presentation/wait.h"

#include "presentation/tests/support/programfixture.h"

#include "platform/fullscreen.h"

#include <QApplication>
#include <QEvent>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

#include <sys/stat.h>

#include <string>
#include <utility>

using veltrano::Form2;
using veltrano::Presentation;

namespace {

// Runs the cycle on a clock that jumps and watches the strip as a user does: each entry that
// comes up, and how long it stays on that clock. Stop is clicked as the `count`th comes up.
class CycleTest : public ProgramTest, public QObject {
protected:
    // The program ends and starts again: only the files remain.
    void relaunch() {
        veltrano::ProgramTestAccess::startOver();
        handler().setUseInterface(false);
        Presentation::WordIndex = 0;
    }
    QStringList present(int count, double step = 0.5) {
        SteppingClock clock(12 * 3600.0, step);
        platform::Clock::Override useClock(clock);
        clock_ = &clock;
        count_ = count;
        entries = {};
        seconds = shownAt = {};
        Form2::instance().installEventFilter(this);
        Presentation::running = true;
        veltrano::module();
        return entries;
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            shownAt_ = clock_->peek();
            shownAt << shownAt_;
            // The entry on the strip's only line, as the user reads it.
            if (const QListWidgetItem* item = Form2::instance().List1->itemAt(1, 1))
                entries << item->text();
            if (entries.size() >= count_)
                Presentation::running = false;
        } else if (event->type() == QEvent::Hide && shownAt_ >= 0) {
            seconds << clock_->peek() - std::exchange(shownAt_, -1.0);
        }
        return false;
    }

    QStringList entries;
    QList<double> seconds, shownAt;
    const SteppingClock* clock_ = nullptr;
    int count_ = 0;
    double shownAt_ = -1;
};

// A full-screen window that is always active; asked about, it stops the presentation if `stops`.
struct FullScreen final : platform::FullScreenProbe {
    explicit FullScreen(bool stops) : stops(stops) {}
    bool activeWindowIsFullScreen() const override {
        Presentation::running = Presentation::running && !stops;
        return true;
    }
    bool stops;
    Override use{*this};
};

// A module with nothing to show: module 7's copy of the user's cannot be read (no reason to
// fall back to the shipped one), module 8 is empty, module 9 missing.
class NothingToShowTest : public CycleTest, public ::testing::WithParamInterface<int> {};
const char* const nothingToShow[] = {"UnreadableUserCopy", "Empty", "Missing"};

} // namespace

// Each hidden again for the interval. Each module goes on where its last start, or the last
// run of the program, left it.
TEST_F(CycleTest, EntriesComeInFileOrderFromTheSecondUntilStop) {
    writeModule(7, "W1\r\nW2\r\nW3\r\n");
    writeModule(5, "b1\r\nb2\r\nb3\r\n");
    Presentation::SelectedModule = 7;
    EXPECT_EQ(present(4), QStringList({"W2", "W3", "W1", "W2"}));
    EXPECT_EQ(seconds.size(), 4);
    EXPECT_GE(shownAt[1] - shownAt[0], seconds[0] + Presentation::WordInterval);
    EXPECT_FALSE(Form2::instance().isVisible());
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
    EXPECT_EQ(traceLines().mid(0, 7),
              QStringList({"modSubliminal.module", "modSubliminal.PauseWhileFullScreen",
                           "modSubliminal.PauseWhileMenuOpen", "Form2.time2", "OnTopBas.FormOnTop",
                           "Module2.AlwaysOnTop", "modSubliminal.Wait"}));
    Presentation::SelectedModule = 5;
    EXPECT_EQ(present(1), QStringList({"b2"}));
    Presentation::SelectedModule = 7;
    EXPECT_EQ(present(1), QStringList({"W3"}));
    relaunch();
    EXPECT_EQ(present(2), QStringList({"W1", "W2"}));
    Presentation::SelectedModule = 5;
    EXPECT_EQ(present(1), QStringList({"b3"}));
    writeModule(5, "b1\r\nb2\r\nb3\r\nb4\r\n"); // edited: its pass starts again
    EXPECT_EQ(present(1), QStringList({"b2"}));
}

// A pass shows each entry once, whether its entries come in one run or one per launch; the
// next pass comes in another order.
TEST_F(CycleTest, ShuffledShowsEveryEntryOncePerPass) {
    writeModule(7, "s1\ns2\ns3\ns4\ns5\ns6\n");
    Presentation::SelectedModule = 7;
    veltrano::Options::setOrder(veltrano::Options::Order::Shuffled);
    QStringList first;
    for (int launch = 0; launch < 6; ++launch, relaunch())
        first += present(1);
    const QStringList second = present(6);
    EXPECT_NE(first, second);
    for (QStringList pass : {first, second}) {
        pass.sort();
        EXPECT_EQ(pass, QStringList({"s1", "s2", "s3", "s4", "s5", "s6"}));
    }
}

// Whatever went wrong with the file of places, the module starts again, without a word.
TEST_F(CycleTest, ADamagedFileOfPlacesMeansTheStart) {
    writeModule(7, "W1\nW2\nW3\n");
    Presentation::SelectedModule = 7;
    const QString path = veltrano::ReadingPlace::filePath();
    using Damage = QByteArray (*)(QByteArray);
    for (const auto& [row, damage] : std::initializer_list<std::pair<const char*, Damage>>{
             {"cut short", [](QByteArray b) { return b.left(b.size() / 2); }},
             {"not text", [](QByteArray) { return QByteArray("\0\xff\xfe", 3); }},
             {"out of range", [](QByteArray b) { return b.replace(": 1,", ": 77777,"); }}}) {
        QFile::remove(path);
        EXPECT_EQ(present(1), QStringList({"W2"})) << row;
        writeFile(path, damage(fileBytes(path)));
        EXPECT_EQ(present(1), QStringList({"W2"})) << row;
    }
    EXPECT_EQ(handler().ErrNum(), 0);
}

// An entry that comes due while a popup menu is open waits until it closes.
TEST_F(CycleTest, NothingShowsOverAnOpenMenu) {
    writeModule(7, "W1\nW2\n");
    Presentation::SelectedModule = 7;
    QMenu menu;
    menu.addAction(QStringLiteral("Order"));
    menu.popup(QPoint(10, 10));
    ASSERT_EQ(QApplication::activePopupWidget(), &menu);
    QTimer closer; // once the entry has waited 20 s on the cycle's clock
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (clock_ && clock_->peek() >= 12 * 3600.0 + 20)
            closer.stop(), menu.close();
    });
    closer.start(0);
    EXPECT_EQ(present(1), QStringList({"W2"}));
    EXPECT_GE(shownAt.value(0), 12 * 3600.0 + 20);
}

TEST_P(NothingToShowTest, EndsTheCycleWithError380) {
    writeModule(7, "shipped\n");
    ASSERT_TRUE(QDir().mkpath(veltrano::ModuleFiles::userFolder()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(veltrano::ModuleFiles::userPath(7)).constData(), 0600), 0);
    writeModule(8, "");
    Presentation::SelectedModule = GetParam();
    EXPECT_TRUE(present(1).isEmpty());
    EXPECT_EQ(handler().ErrNum(), 380);
    EXPECT_EQ(handler().ErrDesc(), "Invalid property value");
    EXPECT_EQ(handler().ProcName(), "modSubliminal.module");
    EXPECT_EQ(handler().ErrLine(), "50");
    EXPECT_TRUE(QFile::exists(temp.filePath(QStringLiteral("Error.log"))));
}

INSTANTIATE_TEST_SUITE_P(Modules, NothingToShowTest, ::testing::Values(7, 8, 9),
                         [](const auto& row) { return std::string(nothingToShow[row.param - 7]); });

// A set of meanings that lacks the module falls back to data/; each choice applies at once.
TEST_F(CycleTest, ModulesAreLookedUpInTheUsersFolderThenTheChosenSetThenData) {
    writeModule(7, "en1\nen2\n");
    writeModule(7, "de1\nde2\n", QStringLiteral("data-de"));
    writeModule(8, "en-only1\nen-only2\n");
    Presentation::SelectedModule = 7;
    EXPECT_EQ(present(1), QStringList({"en2"}));
    veltrano::Options::setMeaningsIn(QStringLiteral("de"));
    EXPECT_EQ(present(1), QStringList({"de2"}));
    Presentation::SelectedModule = 8;
    EXPECT_EQ(present(1), QStringList({"en-only2"}));
    Presentation::SelectedModule = 7;
    writeUserModule(7, "mine1\nmine2\nmine3\n");
    EXPECT_EQ(present(1), QStringList({"mine2"}));
}

TEST_F(CycleTest, EachEntryShowsForTheChosenTime) {
    writeModule(7, "a\nb\n");
    Presentation::SelectedModule = 7;
    for (double chosen : veltrano::Options::entrySecondsOffered) {
        veltrano::Options::setEntrySeconds(chosen);
        present(1, 0.05);
        ASSERT_EQ(seconds.size(), 1);
        EXPECT_GE(seconds[0], chosen) << chosen;
        EXPECT_LT(seconds[0], chosen + 0.15) << chosen;
    }
}

// While a full-screen window is active the due entry waits (shown later, never skipped:
// x11/strip_x11_test.cpp); stopped meanwhile, nothing more is shown and the place stays.
TEST_F(CycleTest, StoppedWhileAFullScreenWindowHoldsTheEntryBackOrPausingIsOff) {
    writeModule(7, "W1\nW2\nW3\n");
    Presentation::SelectedModule = 7;
    {
        FullScreen stopping(true);
        EXPECT_TRUE(present(1).isEmpty());
    }
    veltrano::Options::setPauseWhileFullScreen(false);
    FullScreen full(false);
    EXPECT_EQ(present(1), QStringList({"W2"}));
}

// One second passes per reading of the clock.
TEST_F(CycleTest, AWaitFollowsTheIntervalAndEndsJustAfterMidnight) {
    SteppingClock clock(12 * 3600.0, 1.0);
    platform::Clock::Override useClock(clock);
    std::int16_t interval = 15;
    QTimer raise; // from an event handled inside the wait, 12 seconds in
    QObject::connect(&raise, &QTimer::timeout, [&] {
        if (clock.peek() >= 12 * 3600.0 + 12)
            interval = 20;
    });
    raise.start(0);
    veltrano::Wait(interval);
    // Ended at the first reading at or past entry + 20 s (each pass reads the clock twice).
    EXPECT_GE(clock.peek(), 12 * 3600.0 + 20);
    EXPECT_LE(clock.peek(), 12 * 3600.0 + 23);

    SteppingClock late(23 * 3600.0 + 59 * 60 + 55, 1.0);
    platform::Clock::Override useLate(late);
    veltrano::Wait(15.0);
    EXPECT_LT(late.peek(), 10.0);
}
