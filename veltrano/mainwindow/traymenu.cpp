#include "mainwindow/traymenu.h"

#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/importhandler.h"
#include "mainwindow/presentationcontrol.h"
#include "presentation/modulefiles.h"
#include "presentation/options.h"
#include "presentation/presentationstate.h"
#include "presentation/wordsets.h"
#include "tracing/traced.h"

#include "platform/classiccheckbox.h"
#include "platform/messagebox.h"
#include "platform/shell.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>

namespace veltrano {

namespace {

QIcon buttonIcon(const char* name) {
    return QIcon(svgPixmap(QStringLiteral(":/veltrano/images/") + QLatin1String(name), {16, 16}));
}

QString secondsCaption(double seconds) {
    return QString::number(seconds, 'g', 3) + QStringLiteral(" s");
}

} // namespace

TrayMenu::TrayMenu(Form1& form) : form_(form) {
    QMenu* menu = form.mFile;
    menu->addSeparator();
    mStart = menu->addAction(QString());
    showRunningLook(false);
    // Queued: the presentation runs inside Start, which should not be inside the menu's own
    // mouse handling.
    connect(mStart, &QAction::triggered, this, &TrayMenu::mStart_Click, Qt::QueuedConnection);
    connect(&form.presentation(), &PresentationControl::lookChanged, this,
            &TrayMenu::showRunningLook);

    mShowFor = menu->addMenu(QStringLiteral("Show Each Entry For"));
    showForGroup_ = new QActionGroup(this);
    for (double seconds : Options::entrySecondsOffered) {
        QAction* choice = mShowFor->addAction(secondsCaption(seconds));
        choice->setCheckable(true);
        choice->setData(seconds);
        showForGroup_->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, seconds] { mShowFor_Click(seconds); });
    }

    mMeaningsIn = menu->addMenu(QStringLiteral("Meanings In"));
    meaningsGroup_ = new QActionGroup(this);
    for (const WordSet& set : wordSets) {
        QAction* choice = mMeaningsIn->addAction(set.displayName());
        const QString code = QLatin1String(set.code);
        choice->setCheckable(true);
        choice->setData(code);
        meaningsGroup_->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, code] { mMeaningsIn_Click(code); });
    }

    mOrder = menu->addMenu(QStringLiteral("Order"));
    orderGroup_ = new QActionGroup(this);
    for (Options::Order order : Options::ordersOffered) {
        QAction* choice = mOrder->addAction(Options::orderText(order));
        choice->setCheckable(true);
        choice->setData(int(order));
        orderGroup_->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, order] { mOrder_Click(order); });
    }

    mPauseFullScreen = menu->addAction(QStringLiteral("Pause While Full Screen"));
    mPauseFullScreen->setCheckable(true);
    connect(mPauseFullScreen, &QAction::triggered, this, &TrayMenu::mPauseFullScreen_Click);

    mEditWords = menu->addAction(QStringLiteral("Edit Words…"));
    connect(mEditWords, &QAction::triggered, this, &TrayMenu::mEditWords_Click);

    // Queued, as Start: its dialogs should not open inside the menu's own mouse handling.
    importer_ = new ImportHandler(&form);
    mImport = menu->addAction(QStringLiteral("Import Words…"));
    connect(mImport, &QAction::triggered, importer_, &ImportHandler::mImport_Click,
            Qt::QueuedConnection);

    menu->addSeparator();
    mQuit = menu->addAction(QStringLiteral("Quit"));
    connect(mQuit, &QAction::triggered, this, &TrayMenu::mQuit_Click);

    connect(menu, &QMenu::aboutToShow, this, &TrayMenu::mFile_Click);
    showSavedChoices();
}

void TrayMenu::showRunningLook(bool running) {
    mStart->setText(running ? QStringLiteral("Stop") : QStringLiteral("Start"));
    mStart->setIcon(buttonIcon(running ? "stop.svg" : "start.svg"));
}

void TrayMenu::showSavedChoices() {
    const double seconds = Options::entrySeconds();
    for (QAction* choice : showForGroup_->actions())
        choice->setChecked(qFuzzyCompare(choice->data().toDouble(), seconds));
    const QString code = Options::meaningsIn();
    for (QAction* choice : meaningsGroup_->actions())
        choice->setChecked(choice->data().toString() == code);
    const int order = int(Options::order());
    for (QAction* choice : orderGroup_->actions())
        choice->setChecked(choice->data().toInt() == order);
    mPauseFullScreen->setChecked(Options::pauseWhileFullScreen());
}

void TrayMenu::mFile_Click() {
    Traced proc(u"Form1.mFile_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        showSavedChoices();
    });
}

void TrayMenu::mStart_Click() {
    Traced proc(u"Form1.mStart_Click");
    proc.run([&](Traced::Line& at) {
        // The button the main window shows decides, as a click on it would.
        at(10);
        if (form_.Image3->isVisibleTo(&form_))
            form_.presentation().Image3_Click();
        else
            form_.presentation().Image2_Click();
    });
}

void TrayMenu::mShowFor_Click(double seconds) {
    Traced proc(u"Form1.mShowFor_Click");
    proc.param("seconds", "Single", seconds);
    proc.run([&](Traced::Line& at) {
        at(10);
        Options::setEntrySeconds(seconds);
        at(20);
        showSavedChoices();
    });
}

void TrayMenu::mMeaningsIn_Click(const QString& code) {
    Traced proc(u"Form1.mMeaningsIn_Click");
    proc.param("code", "String", code);
    proc.run([&](Traced::Line& at) {
        at(10);
        Options::setMeaningsIn(code);
        at(20);
        showSavedChoices();
    });
}

void TrayMenu::mOrder_Click(Options::Order order) {
    Traced proc(u"Form1.mOrder_Click");
    proc.param("order", "String", Options::orderText(order));
    proc.run([&](Traced::Line& at) {
        at(10);
        Options::setOrder(order);
        at(20);
        showSavedChoices();
    });
}

void TrayMenu::mPauseFullScreen_Click() {
    Traced proc(u"Form1.mPauseFullScreen_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        Options::setPauseWhileFullScreen(mPauseFullScreen->isChecked());
        at(20);
        showSavedChoices();
    });
}

void TrayMenu::mEditWords_Click() {
    Traced proc(u"Form1.mEditWords_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        const std::int16_t number = Presentation::SelectedModule;
        if (number < 4 || number > 25) {
            platform::MsgBox(QStringLiteral("You have to select a module"), platform::mb::OKOnly,
                             QStringLiteral("Veltrano Rudoz Arirera"));
            return;
        }
        // The learner's copy of the chosen set lives in the user's folder; the program's own
        // stays untouched.
        at(20);
        const QString own = ModuleFiles::makeUserCopy(number, Options::meaningsIn());
        at(30);
        // Without a program for text files the learner still needs to know where the copy is.
        const QString caption = form_.Check(number)->text();
        platform::Shell::current().openFile(own, [caption, own] {
            platform::MsgBox(QStringLiteral("No program to edit text files was found.\n\n"
                                            "Your copy of module \"%1\" is here:\n%2\n\n"
                                            "Open it with any text editor; what you save "
                                            "there shows from the next entry on.")
                                 .arg(caption, own),
                             platform::mb::Information, QStringLiteral("Veltrano Rudoz Arirera"));
        });
    });
}

void TrayMenu::mQuit_Click() {
    Traced proc(u"Form1.mQuit_Click");
    proc.run([&](Traced::Line& at) {
        // As closing the main window: the program ends at once.
        at(10);
        std::int16_t cancel = 0;
        form_.Form_Unload(cancel);
    });
}

} // namespace veltrano
