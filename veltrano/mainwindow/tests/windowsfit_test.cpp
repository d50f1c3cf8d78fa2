#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/systray.h"
#include "mainwindow/traymenu.h"

#include "presentation/tests/support/programfixture.h"

#include "platform/tests/support/fakes.h"
#include "platform/tests/support/golden.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

using WindowsFitTest = ProgramTest;

// The main window, the strip and the program's boxes, each as large as it gets, lie on a
// 1280×800 screen; CTest runs this on such a screen too (WindowsFit1280x800). Each box is looked
// at and closed as soon as it is up.
TEST_F(WindowsFitTest, EveryWindowFitsA1280x800Screen) {
    const auto fits = [](const QWidget& window) {
        const QRect screen(window.screen()->geometry().topLeft(), QSize(1280, 800));
        return screen.contains(window.frameGeometry()) ? " fits" : " sticks out";
    };
    veltrano::Form1 form;
    form.Timer1->stop();
    form.Form_Load();
    form.show();
    veltrano::Form2::instance().show();
    QStringList seen{QStringLiteral("main window:") + fits(form),
                     QStringLiteral("strip:") + fits(veltrano::Form2::instance())};
    QTimer boxes;
    QObject::connect(&boxes, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen << box->text().section(u'\n', 0, 0) + u':' + fits(*box);
            box->done(0);
        }
    });
    boxes.start(10);
    const platform::ShellRecorder shell([](const QUrl&) { return 5; }); // nothing opens
    veltrano::Presentation::SelectedModule = 0;
    form.Image2->Click();
    veltrano::Presentation::SelectedModule = 25;
    form.trayMenu().mEditWords->trigger();
    form.Image1->Click();
    emit form.cTray->Refreshed();
    EXPECT_GOLDEN(seen.join(u'\n').toUtf8(), "windowsfit.txt");
}
