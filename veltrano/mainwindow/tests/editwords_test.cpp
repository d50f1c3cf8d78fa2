#include "mainwindow/form1.h"
#include "mainwindow/traymenu.h"
#include "presentation/options.h"

#include "presentation/tests/support/programfixture.h"

#include "platform/tests/support/fakes.h"
#include "platform/tests/support/golden.h"

#include <QAction>
#include <QProcess>
#include <QScopeGuard>
#include <QtCore/qtestsupport_core.h>
#include <QTimer>

using TrayEditWordsTest = ProgramTest;

// "Edit Words…" through the desktop's real shell with German chosen: with no xdg-open, one that
// opens the file (it writes down what it got), one that finds no program (exit status 3) and
// one that cannot start. The copy is made in the German folder; without a program a box names
// it; nothing is an error.
TEST_F(TrayEditWordsTest, WithoutAnEditorABoxNamesTheCopyOfTheChosenSet) {
    veltrano::Form1 form;
    form.Timer1->stop();
    form.Form_Load();
    writeModule(7, "geliefert\n", "data-de");
    veltrano::Options::setMeaningsIn("de");
    veltrano::Presentation::SelectedModule = 7;
    const QTemporaryDir bin;
    const auto restore = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(bin.path()));
    platform::MsgBoxRecorder boxes;
    for (const char* opener :
         {"", "#!/bin/sh\necho \"$1\" >\"$0.log\"\n", "#!/bin/sh\nexit 3\n", "#!/nowhere/sh\n"}) {
        if (*opener) {
            ASSERT_TRUE(writeBytes(bin.filePath("xdg-open"), opener));
            QFile::setPermissions(bin.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
        }
        form.trayMenu().mEditWords->trigger();
        EXPECT_TRUE(QTest::qWaitFor([] { return qApp->findChildren<QProcess*>().isEmpty(); }));
    }
    const QString own = veltrano::ModuleFiles::userPath(7, "de");
    EXPECT_EQ(fileBytes(bin.filePath("xdg-open.log")), QFile::encodeName(own) + '\n');
    EXPECT_EQ(fileBytes(own), "geliefert\n");
    EXPECT_GOLDEN(boxes.texts().join("\n").toUtf8(), "editwords-noeditor.txt",
                  {{"@OWN@", QFile::encodeName(own)}});
    EXPECT_EQ(handler().ErrNum(), 0);
}
