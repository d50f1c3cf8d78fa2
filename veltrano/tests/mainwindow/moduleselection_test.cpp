#include "mainwindow/checkvalues.h"
#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/moduleselection.h"

#include "../support/programfixture.h"

#include "platform/autostart.h"
#include "platform/classiccheckbox.h"
#include "platform/settingsstore.h"
#include "platform/tests/support/fakes.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <QFontMetrics>
#include <QSettings>

using veltrano::Form1;
using veltrano::Presentation;

namespace {

class ModuleSelectionTest : public ProgramTest {
protected:
    // The stored choice outlives the test and the process: each test starts from none.
    ModuleSelectionTest() {
        QSettings(QSettings::IniFormat, QSettings::UserScope,
                  veltrano::checkboxsettings::application())
            .clear();
    }
    static void store(int number, const QString& value) {
        platform::SettingsStore::current().SaveSetting(
            veltrano::checkboxsettings::application(), veltrano::checkboxsettings::section(),
            veltrano::checkboxsettings::key(number), value);
    }
    static QString stored(int number) {
        return platform::SettingsStore::current().GetSetting(
            veltrano::checkboxsettings::application(), veltrano::checkboxsettings::section(),
            veltrano::checkboxsettings::key(number), QStringLiteral("<none>"));
    }
    static void storeOnly(int ticked) {
        for (int n = 4; n <= 25; ++n)
            store(n, n == ticked ? QStringLiteral("1") : QStringLiteral("0"));
    }
    static QList<int> ticked(const Form1& on) {
        QList<int> boxes;
        for (int n = 4; n <= 25; ++n)
            if (on.Check(n)->Value() == 1)
                boxes << n;
        return boxes;
    }

    Form1 form;
};

} // namespace

// A first start ticks New Words only; a saved choice is restored; all zeros leaves nothing
// selected.
TEST_F(ModuleSelectionTest, LoadRestoresTheSavedChoiceOrTicksNewWordsOnTheFirstStart) {
    for (const int saved : {-1, 7, 0}) {
        if (saved >= 0)
            storeOnly(saved);
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

TEST_F(ModuleSelectionTest, ABoxClickUnticksTheOthersInAscendingOrder) {
    form.Form_Load();
    const int before = int(traceLines().size());
    form.Check(12)->click();
    EXPECT_EQ(ticked(form), QList<int>({12}));
    // Only box 25 changed, so only its handler ran inside box 12's.
    EXPECT_EQ(traceLines().mid(before),
              QStringList({"Form1.Check12_Click", "Form1.Check25_Click"}));
    EXPECT_EQ(Presentation::SelectedModule, 25); // taken over only by the panel
    form.Check(12)->click();
    EXPECT_TRUE(ticked(form).isEmpty());
}

TEST_F(ModuleSelectionTest, ThePanelRoundTripSavesTheChoiceAndTakesItOver) {
    storeOnly(7);
    form.Form_Load();
    form.Image6->Click();
    EXPECT_EQ(form.Image6->toolTip(), "Save Subliminal Modules");
    EXPECT_FALSE(form.Check(4)->isHidden());
    EXPECT_TRUE(form.Image9->isHidden());
    form.Check(12)->click();
    EXPECT_EQ(Presentation::SelectedModule, 7); // a start now would still use module 7
    form.Image6->Click();
    EXPECT_EQ(form.Image6->toolTip(), "Edit Subliminal Modules");
    EXPECT_TRUE(form.Check(4)->isHidden());
    EXPECT_FALSE(form.Image9->isHidden());
    EXPECT_EQ(Presentation::SelectedModule, 12);
    for (int n = 4; n <= 25; ++n)
        EXPECT_EQ(stored(n), n == 12 ? "1" : "0") << n;

    // Unticking the only box saves all zeros and keeps the module taken over.
    form.Image6->Click();
    form.Check(12)->click();
    form.Image6->Click();
    for (int n = 4; n <= 25; ++n)
        EXPECT_EQ(stored(n), "0") << n;
    EXPECT_EQ(Presentation::SelectedModule, 12);
}

TEST_F(ModuleSelectionTest, ABadStoredValueStopsTheRestoreThereAndLoadGoesOn) {
    storeOnly(5);
    store(10, QStringLiteral("x"));
    store(20, QStringLiteral("1"));
    form.Form_Load();
    // Boxes 4 to 9 restored (box 5 ticked, box 4 unticked by it), from 10 on untouched.
    EXPECT_EQ(ticked(form), QList<int>({5}));
    EXPECT_EQ(handler().ErrNum(), 13);
    EXPECT_EQ(handler().ProcName(), "modTrans.checkvaluesload");
    EXPECT_EQ(Presentation::SelectedModule, 5); // load went on with its last step

    store(10, QStringLiteral("3"));
    form.Image6->Click();
    EXPECT_EQ(handler().ErrNum(), 380);
}

// Closing the start-up panel with its box ticked makes the desktop start this very program
// at login; unticked, it no longer does.
TEST_F(ModuleSelectionTest, TheStartUpPanelSavesItsBoxAndWritesOrRemovesTheAutostartEntry) {
    const QString entry = platform::autostart::entryPath(QStringLiteral("veltrano"));
    auto closePanelWith = [&](int value) {
        form.Image5->Click();
        form.Check(26)->setValue(value);
        form.Image12->Click();
    };
    store(26, QStringLiteral("0"));
    form.Image5->Click();
    EXPECT_EQ(form.Check(26)->text(), "Start Veltrano automatically when you log in.");
    EXPECT_FALSE(form.Check(26)->isHidden());
    EXPECT_EQ(form.Check(26)->Value(), 0);
    EXPECT_TRUE(form.Image5->isHidden());
    EXPECT_FALSE(form.Image12->isHidden());
    form.Check(26)->click();
    form.Image12->Click();
    EXPECT_EQ(stored(26), "1");
    EXPECT_TRUE(form.Check(26)->isHidden());
    EXPECT_FALSE(form.Image5->isHidden());
    ASSERT_TRUE(QFile::exists(entry));
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"") +
                              QCoreApplication::applicationFilePath() + QStringLiteral("\"\n")))
        << text.toStdString();
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        QProcess validate;
        validate.start(validator, {entry});
        ASSERT_TRUE(validate.waitForFinished(30000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
    }
    closePanelWith(0);
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_EQ(stored(26), "0");

    // A folder that cannot be made: the user is told, the box is saved, nothing else moves.
    const QString folder = QFileInfo(entry).path();
    QDir(folder).removeRecursively();
    writeFile(folder, "not a folder");
    platform::MsgBoxRecorder boxes;
    closePanelWith(1);
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_TRUE(
        boxes.calls()[0].prompt.startsWith("Veltrano cannot be set to start when you log in"));
    EXPECT_EQ(stored(26), "1");
    EXPECT_FALSE(form.Image5->isHidden());
    EXPECT_EQ(handler().ErrNum(), 0);
    QFile::remove(folder);
    // A bad value stops after the box was shown; the next click tries again.
    store(26, QStringLiteral("x"));
    form.Image5->Click();
    EXPECT_FALSE(form.Check(26)->isHidden());
    EXPECT_FALSE(form.Image5->isHidden());
    EXPECT_TRUE(form.Image12->isHidden());
}

// Quoting for the desktop entry format: a path with blanks, quotes, dollars, backslashes and
// percent signs still names the one program.
TEST(Autostart, TheProgramPathIsQuotedForTheDesktopEntry) {
    EXPECT_EQ(platform::autostart::execValue(QStringLiteral("/opt/my apps/veltrano")),
              "\"/opt/my apps/veltrano\"");
    EXPECT_EQ(platform::autostart::execValue(QStringLiteral("/a\"b$c\\d%e")),
              "\"/a\\\\\"b\\\\$c\\\\\\\\d%%e\"");
}

// A caption wider than its box is cut off on the screen ("New Wo"): every box of both
// panels has room for its whole caption in the font it is drawn with.
TEST_F(ModuleSelectionTest, EveryCaptionFitsItsBox) {
    for (int n = 4; n <= 26; ++n) {
        const platform::ClassicCheckBox* box = form.Check(n);
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
        EXPECT_LE(QFontMetrics(box->font()).height(), box->height()) << box->text().toStdString();
    }
}
