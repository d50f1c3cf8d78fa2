// The main window's panels and buttons: the module panel, the start-up panel, Start, Stop and
// the frequency. Choosing a module through the panel, the autostart entry and a presentation
// of the built program: x11/program_x11_test.sh.

#include "mainwindow/checkvalues.h"
#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/moduleselection.h"
#include "mainwindow/presentationcontrol.h"

#include "presentation/tests/support/programfixture.h"

#include "platform/autostart.h"
#include "platform/classiccheckbox.h"
#include "platform/tests/support/fakes.h"
#include "platform/tests/support/settings.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

using veltrano::Form1;
using veltrano::Presentation;
namespace boxes = veltrano::checkboxsettings;

namespace {

class WindowTest : public ProgramTest {
protected:
    WindowTest() {
        form.Timer1->stop(); // the tray's ticks have their own tests
        form.Form_Load();
    }
    static void store(int box, const QString& value) {
        testsettings::store(boxes::application(), boxes::section() + '/' + boxes::key(box), value);
    }
    static QString stored(int box) {
        return testsettings::stored(boxes::application(), boxes::section() + '/' + boxes::key(box));
    }
    static QList<int> ticked(const Form1& on) {
        QList<int> ticked;
        for (int n = 4; n <= 25; ++n)
            if (on.Check(n)->Value() == 1)
                ticked << n;
        return ticked;
    }
    // The buttons, pictures and caption of the running look, or of the stopped one.
    bool looksRunning(bool running) const {
        return form.Image2->isHidden() == running && form.Image3->isHidden() != running &&
               form.Image14->isHidden() == running && form.Image13->isHidden() != running &&
               form.cmdStart->text() == (running ? "Stop" : "Start");
    }

    Form1 form;
};

} // namespace

// A first start ticks New Words only; a saved choice is restored; all zeros leaves nothing
// selected.
TEST_F(WindowTest, LoadRestoresTheSavedChoiceOrTicksNewWordsOnTheFirstStart) {
    for (const int saved : {-1, 7, 0}) {
        for (int n = 4; saved >= 0 && n <= 25; ++n)
            store(n, n == saved ? "1" : "0");
        Presentation::SelectedModule = 0;
        Form1 loaded;
        loaded.Form_Load();
        const int expected = saved < 0 ? 25 : saved;
        EXPECT_EQ(ticked(loaded), expected ? QList<int>({expected}) : QList<int>()) << saved;
        EXPECT_EQ(Presentation::SelectedModule, expected) << saved;
        EXPECT_EQ(loaded.windowTitle(), "Veltrano Rudoz Arirera 0.0.72");
    }
    EXPECT_EQ(Presentation::WordInterval, 15);
}

TEST_F(WindowTest, ABoxUnticksTheOthersAndClosingThePanelTakesTheChoiceOver) {
    form.Image6->Click();
    const qsizetype before = traceLines().size();
    form.Check(12)->click();
    EXPECT_EQ(ticked(form), QList<int>({12}));
    // Only box 25 changed, so only its handler ran inside box 12's.
    EXPECT_EQ(traceLines().mid(before),
              QStringList({"Form1.Check12_Click", "Form1.Check25_Click"}));
    EXPECT_EQ(Presentation::SelectedModule, 25); // a start now would still use module 25
    form.Image6->Click();
    EXPECT_EQ(Presentation::SelectedModule, 12);
    EXPECT_TRUE(form.Check(4)->isHidden() && !form.Image9->isHidden());

    // Unticking the only box saves all zeros and keeps the module taken over.
    form.Image6->Click();
    form.Check(12)->click();
    form.Image6->Click();
    QString saved;
    for (int n = 4; n <= 25; ++n)
        saved += stored(n);
    EXPECT_EQ(saved, QString(22, u'0'));
    EXPECT_EQ(Presentation::SelectedModule, 12);
}

TEST_F(WindowTest, ABadStoredValueStopsTheRestoreThereAndLoadGoesOn) {
    for (int n = 4; n <= 25; ++n)
        store(n, n == 5 || n == 20 ? "1" : n == 10 ? "x" : "0");
    Form1 loaded;
    loaded.Form_Load();
    // Boxes 4 to 9 restored (box 5 ticked, box 4 unticked by it), from 10 on untouched.
    EXPECT_EQ(ticked(loaded), QList<int>({5}));
    EXPECT_EQ(handler().ErrNum(), 13);
    EXPECT_EQ(handler().ProcName(), "modTrans.checkvaluesload");
    EXPECT_EQ(Presentation::SelectedModule, 5); // load went on with its last step

    store(10, QStringLiteral("3"));
    loaded.Image6->Click();
    EXPECT_EQ(handler().ErrNum(), 380);
}

TEST_F(WindowTest, TheStartUpPanelTellsWhenTheAutostartEntryCannotBeWritten) {
    const QString folder = QFileInfo(platform::autostart::entryPath("veltrano")).path();
    QDir(folder).removeRecursively();
    writeFile(folder, "not a folder");
    platform::MsgBoxRecorder boxes;
    form.Image5->Click();
    form.Check(26)->click();
    form.Image12->Click();
    EXPECT_EQ(boxes.texts(), QStringList({"Veltrano Rudoz Arirera: Veltrano cannot be set to start "
                                          "when you log in: " +
                                          folder + " cannot be written."}));
    EXPECT_EQ(stored(26), "1");
    EXPECT_TRUE(form.Check(26)->isHidden() && !form.Image5->isHidden());
    EXPECT_EQ(handler().ErrNum(), 0);
    QFile::remove(folder);

    // A bad value stops after the box was shown; the next click tries again.
    store(26, QStringLiteral("x"));
    form.Image5->Click();
    EXPECT_TRUE(!form.Check(26)->isHidden() && !form.Image5->isHidden() &&
                form.Image12->isHidden());
}

// Quoting for the desktop entry format: a path with blanks, quotes, dollars, backslashes and
// percent signs still names the one program.
TEST(Autostart, TheProgramPathIsQuotedForTheDesktopEntry) {
    EXPECT_EQ(platform::autostart::execValue(QStringLiteral("/opt/my apps/veltrano")),
              "\"/opt/my apps/veltrano\"");
    EXPECT_EQ(platform::autostart::execValue(QStringLiteral("/a\"b$c\\d%e")),
              "\"/a\\\\\"b\\\\$c\\\\\\\\d%%e\"");
}

// A caption wider than its box is cut off on the screen ("New Wo"); a picture drawn on an
// undefined background shows a box around its round shape.
TEST_F(WindowTest, EveryCaptionFitsItsBoxAndPicturesLeaveTheirCornersClear) {
    for (int n = 4; n <= 26; ++n) {
        const platform::ClassicCheckBox* box = form.Check(n);
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
        EXPECT_LE(QFontMetrics(box->font()).height(), box->height()) << box->text().toStdString();
    }
    const QImage contact = form.Image4->pixmap().toImage();
    EXPECT_EQ(contact.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(contact.pixelColor(contact.rect().center()).alpha(), 255);
}

TEST_F(WindowTest, FrequencyMovesInStepsOfFiveWithTheBarMirroringIt) {
    QList<std::pair<int, int>> seen; // the interval and the bar, after each click
    for (veltrano::ImageButton* button :
         {form.Image7, form.Image8, form.Image8, form.Image8, form.Image8, form.Image7}) {
        button->Click();
        seen << std::pair(int(Presentation::WordInterval), form.ProgressBar1->value());
    }
    EXPECT_EQ(seen, (QList<std::pair<int, int>>{
                        {15, 30}, {20, 25}, {25, 20}, {30, 15}, {30, 15}, {25, 20}}));
}

TEST_F(WindowTest, StartWithoutAModuleIsRefusedWithoutATrace) {
    Presentation::SelectedModule = 0;
    platform::MsgBoxRecorder boxes;
    const qsizetype traced = traceLines().size();
    form.Image2->Click();
    EXPECT_EQ(boxes.texts(), QStringList({"Veltrano Rudoz Arirera: You have to select a module"}));
    EXPECT_EQ(boxes.calls().value(0).buttons, platform::mb::OKOnly);
    EXPECT_EQ(traceLines().size(), traced);
    EXPECT_TRUE(looksRunning(false));
}

// Stop and Start again while an entry's wait runs: the next entry comes at once, without a
// second cycle, and Stop ends the presentation.
TEST_F(WindowTest, StopAndStartDuringAWaitGoOnWithTheNextEntryAtOnce) {
    writeModule(25, "one\r\ntwo\r\nthree\r\n");
    Presentation::SelectedModule = 25;
    Presentation::WordInterval = 1;
    // Each reading of the time moves it on a millisecond; a timer of 0 keeps the waits reading.
    SteppingClock clock(12 * 3600.0, 0.001);
    platform::Clock::Override stepping(clock);
    QTimer passes;
    passes.start(0);
    QStringList shown;
    double firstAt = -1, restartAt = -1, nextAt = -1;
    bool runningLook = false, stoppedLook = false;
    veltrano::Form2& strip = veltrano::Form2::instance();
    QTimer stopper; // clicks once the first entry's wait is past its 0.3 s showing
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (clock.peek() < firstAt + 0.4)
            return;
        stopper.stop();
        runningLook = looksRunning(true);
        form.Image3->Click();
        stoppedLook = looksRunning(false) && strip.isHidden();
        restartAt = clock.peek();
        form.Image2->Click();
    });
    QObject::connect(strip.List1, &QListWidget::currentRowChanged, strip.List1, [&](int row) {
        if (row < 0)
            return;
        shown << strip.List1->item(row)->text();
        (shown.size() == 1 ? firstAt : nextAt) = clock.peek();
        if (shown.size() == 1)
            stopper.start(0);
        else
            form.Image3->Click();
    });
    form.Image2->Click();
    EXPECT_EQ(shown, QStringList({"two", "three"}));
    EXPECT_TRUE(runningLook && stoppedLook);
    EXPECT_LT(nextAt - restartAt, 0.3); // not even the strip's showing was waited for
    EXPECT_TRUE(looksRunning(false) && strip.isHidden());
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
}
