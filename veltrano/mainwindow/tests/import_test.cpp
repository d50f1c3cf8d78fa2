// "Import Words…": the chosen file's words land in the user's module of the set of meanings chosen
// now. The formats themselves are the word import's own tests.
#include "mainwindow/form1.h"
#include "mainwindow/importhandler.h"
#include "presentation/modulefiles.h"
#include "presentation/tests/support/programfixture.h"

#include "platform/tests/support/fakes.h"

namespace {

class ImportTest : public ProgramTest {
protected:
    ImportTest() {
        form.Timer1->stop();
        form.Form_Load();
    }

    // Imports file as a user choosing it would; the box it ends with, as "title: prompt".
    QString import(const QString& file, bool byLetter) {
        const qsizetype before = boxes.texts().size();
        veltrano::ImportHandler handler(
            &form, {[&](QWidget*) { return file; }, [&](QWidget*) { return byLetter; }});
        handler.mImport_Click();
        return boxes.texts().value(before);
    }

    veltrano::Form1 form;
    platform::MsgBoxRecorder boxes;
};

} // namespace

TEST_F(ImportTest, WordsGoIntoTheUsersModuleOnceAndTheShippedOneStaysAsItWas) {
    writeModule(25, "alpha - first\r\n");
    writeFile(temp.filePath("deck.csv"), "word,meaning\nzeitgeist,the spirit of the time\n");
    const QString own = veltrano::ModuleFiles::userPath(25, QStringLiteral("en"));

    EXPECT_EQ(import(temp.filePath("deck.csv"), false),
              "Import Words: 1 word imported into New Words.");
    EXPECT_EQ(fileBytes(own), "alpha - first\r\nzeitgeist - the spirit of the time\r\n");
    EXPECT_EQ(fileBytes(temp.filePath("data/25.txt")), "alpha - first\r\n");

    EXPECT_EQ(import(temp.filePath("deck.csv"), false),
              "Import Words: No words imported into New Words; 1 skipped (already there).");
    EXPECT_EQ(fileBytes(own), "alpha - first\r\nzeitgeist - the spirit of the time\r\n");

    // Each word into its letter's module: Z is the module "X - Z".
    writeFile(temp.filePath("data/24.txt"), "");
    EXPECT_TRUE(import(temp.filePath("deck.csv"), true)
                    .startsWith("Import Words: 1 word imported into X - Z"));
    EXPECT_EQ(fileBytes(veltrano::ModuleFiles::userPath(24, QStringLiteral("en"))),
              "zeitgeist - the spirit of the time\r\n");
}
