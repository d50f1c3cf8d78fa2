#include "mainwindow/trayhandlers.h"

#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/systray.h"
#include "tracing/traced.h"

#include "platform/classiccheckbox.h"
#include "platform/classicerrors.h"
#include "platform/messagebox.h"

#include <QAction>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

namespace veltrano {

namespace {
// Every use of the tray object goes through here: before load and after unload there is
// none, and the classic "Object variable not set" is what the handler then reports.
SysTray& trayOf(const Form1& form) {
    if (!form.cTray)
        platform::raiseError(platform::err::objectNotSet);
    return *form.cTray;
}
} // namespace

TrayHandlers::TrayHandlers(Form1& form) : form_(form) {
    connect(form.hsIcons, &QScrollBar::valueChanged, this, &TrayHandlers::hsIcons_Change);
    connect(form.Text1, &QLineEdit::textChanged, this, &TrayHandlers::Text1_Change);
    connect(form.Check1, &platform::ClassicCheckBox::Click, this, &TrayHandlers::Check1_Click);
    connect(form.Check2, &platform::ClassicCheckBox::Click, this, &TrayHandlers::Check2_Click);
    connect(form.Check3, &platform::ClassicCheckBox::Click, this, &TrayHandlers::Check3_Click);
    connect(form.Timer1, &QTimer::timeout, this, &TrayHandlers::Timer1_Timer);
    connect(form.mRestore, &QAction::triggered, this, &TrayHandlers::mRestore_Click);
}

void TrayHandlers::connectTray() {
    SysTray* tray = form_.cTray.get();
    if (!tray)
        return;
    connect(tray, &SysTray::Click, this, &TrayHandlers::cTray_Click, Qt::UniqueConnection);
    connect(tray, &SysTray::DblClick, this, &TrayHandlers::cTray_DblClick, Qt::UniqueConnection);
    connect(tray, &SysTray::MouseDown, this, &TrayHandlers::cTray_MouseDown, Qt::UniqueConnection);
    connect(tray, &SysTray::Refreshed, this, &TrayHandlers::cTray_Refreshed, Qt::UniqueConnection);
    applyTrayConfiguration();
    tray->setPersistentIcon(form_.Check3->Value() == 1);
}

void TrayHandlers::applyTrayConfiguration() {
    SysTray& tray = trayOf(form_);
    tray.setParentWindow(&form_);
    tray.setPopupMenu(form_.mFile);
    tray.setMenuButton(2);
    tray.setModeValue(192);
    tray.setTooltip(form_.Text1->text());
    tray.setShowInTray(form_.Check1->Value() == 1);
}

// Runs at every tick (16 ms), so the path of a window on the screen does next to nothing.
void TrayHandlers::Timer1_Timer() {
    Traced proc(u"Form1.Timer1_Timer");
    proc.run([&](Traced::Line& at) {
        at(10);
        form_.hsIcons->setValue(1);
        at(20);
        if (form_.windowState() & Qt::WindowMinimized) {
            applyTrayConfiguration();
            SysTray& tray = trayOf(form_);
            tray.setMinimizeMode(3);
            tray.setPersistentIcon(form_.Check3->Value() == 1);
            form_.mRestore->setEnabled(true);
        }
    });
}

void TrayHandlers::hsIcons_Change() {
    Traced proc(u"Form1.hsIcons_Change");
    proc.run([&](Traced::Line& at) {
        at(10);
        const int number = form_.hsIcons->value();
        if (number < 1 || number > form_.ilIcons.size())
            platform::raiseError(platform::err::subscriptOutOfRange);
        const QPixmap picture = form_.ilIcons[number - 1];
        form_.pIcon->setPixmap(picture);
        at(20);
        trayOf(form_).setIconPicture(picture);
    });
}

void TrayHandlers::Text1_Change() {
    Traced proc(u"Form1.Text1_Change");
    proc.run([&](Traced::Line& at) {
        at(10);
        trayOf(form_).setTooltip(form_.Text1->text());
    });
}

void TrayHandlers::Check1_Click() {
    Traced proc(u"Form1.Check1_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        applyTrayConfiguration();
    });
}

void TrayHandlers::Check2_Click() {
    Traced proc(u"Form1.Check2_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        if (form_.Check2->Value() == 1) {
            at(20);
            trayOf(form_).setMinimizeMode(3);
        } else {
            at(30);
            trayOf(form_).setMinimizeMode(0);
            at(40);
            trayOf(form_).setShowInTray(form_.Check1->Value() == 1);
        }
    });
}

void TrayHandlers::Check3_Click() {
    Traced proc(u"Form1.Check3_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        trayOf(form_).setPersistentIcon(form_.Check3->Value() == 1);
    });
}

// A left click brings the window back, as on most Linux panels; the other mouse events are
// traced and otherwise left to the icon itself (the right button opens the menu).
void TrayHandlers::cTray_Click(std::int16_t Button) {
    Traced proc(u"Form1.cTray_Click");
    proc.param("Button", "Integer", Button);
    proc.run([&](Traced::Line& at) {
        at(10);
        if (Button == 1)
            trayOf(form_).Restore();
    });
}

void TrayHandlers::cTray_DblClick(std::int16_t Button) {
    Traced proc(u"Form1.cTray_DblClick");
    proc.param("Button", "Integer", Button);
    proc.run([](Traced::Line&) {});
}

void TrayHandlers::cTray_MouseDown(std::int16_t Button) {
    Traced proc(u"Form1.cTray_MouseDown");
    proc.param("Button", "Integer", Button);
    proc.run([](Traced::Line&) {});
}

void TrayHandlers::cTray_Refreshed() {
    Traced proc(u"Form1.cTray_Refreshed");
    proc.run([&](Traced::Line& at) {
        at(10);
        form_.Check1->setValue(trayOf(form_).ShowInTray() ? 1 : 0);
        at(20);
        platform::MsgBox(QStringLiteral("The notification area has been restarted."),
                         platform::mb::OKOnly, QStringLiteral("Veltrano Rudoz Arirera"));
    });
}

void TrayHandlers::mRestore_Click() {
    Traced proc(u"Form1.mRestore_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        trayOf(form_).Restore();
    });
}

} // namespace veltrano
