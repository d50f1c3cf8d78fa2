#include "mainwindow/moduleselection.h"

#include "mainwindow/checkvalues.h"
#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/startatlogin.h"
#include "presentation/presentationstate.h"
#include "tracing/traced.h"

#include "platform/classiccheckbox.h"
#include "platform/classicconvert.h"
#include "platform/settingsstore.h"

#include <QFrame>

namespace veltrano {

namespace {
const QString editTip = QStringLiteral("Edit Subliminal Modules");
const QString saveTip = QStringLiteral("Save Subliminal Modules");
// The names the box handlers have always been traced under.
constexpr QStringView clickNames[] = {
    u"Form1.Check4_Click",  u"Form1.Check5_Click",  u"Form1.Check6_Click",  u"Form1.Check7_Click",
    u"Form1.Check8_Click",  u"Form1.Check9_Click",  u"Form1.Check10_Click", u"Form1.Check11_Click",
    u"Form1.Check12_Click", u"Form1.Check13_Click", u"Form1.Check14_Click", u"Form1.Check15_Click",
    u"Form1.Check16_Click", u"Form1.Check17_Click", u"Form1.Check18_Click", u"Form1.Check19_Click",
    u"Form1.Check20_Click", u"Form1.Check21_Click", u"Form1.Check22_Click", u"Form1.Check23_Click",
    u"Form1.Check24_Click", u"Form1.Check25_Click",
};
} // namespace

ModuleSelection::ModuleSelection(Form1& form) : form_(form) {
    for (int n = 4; n <= 25; ++n)
        connect(form.Check(n), &platform::ClassicCheckBox::Click, this,
                [this, n] { CheckN_Click(n); });
    connect(form.Image6, &ImageButton::Click, this, &ModuleSelection::Image6_Click);
    connect(form.Image5, &ImageButton::Click, this, &ModuleSelection::Image5_Click);
    connect(form.Image12, &ImageButton::Click, this, &ModuleSelection::Image12_Click);
}

void ModuleSelection::CheckN_Click(int number) {
    Traced proc(clickNames[number - 4]);
    proc.run([&](Traced::Line& at) {
        // Unticking a box from here runs that box's handler too: only a ticked box clears the
        // others, or that handler would clear the box just ticked.
        at(10);
        if (form_.Check(number)->Value() != 1)
            return;
        for (int n = 4; n <= 25; ++n) {
            if (n == number)
                continue;
            at(20);
            form_.Check(n)->setValue(0);
        }
    });
}

void ModuleSelection::recomputeSelectedModule() {
    for (int n = 4; n <= 25; ++n)
        if (form_.Check(n)->Value() == 1)
            Presentation::SelectedModule = std::int16_t(n);
}

void ModuleSelection::Image6_Click() {
    Traced proc(u"Form1.Image6_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        if (form_.Image6->toolTip() == editTip) {
            for (int n = 4; n <= 24; ++n) {
                at(20);
                form_.Check(n)->show();
            }
            at(30);
            form_.Image9->hide();
            at(40);
            form_.Image6->setToolTip(saveTip);
            at(50);
            form_.Image11->show();
            at(60);
            form_.Line3->show();
            at(70);
            form_.Check(25)->show();
            at(80);
            checkvaluesload(form_);
        } else {
            for (int n = 4; n <= 24; ++n) {
                at(90);
                form_.Check(n)->hide();
            }
            at(100);
            form_.Image9->show();
            at(110);
            form_.Image6->setToolTip(editTip);
            at(120);
            form_.Image11->hide();
            at(130);
            form_.Line3->hide();
            at(140);
            form_.Check(25)->hide();
            at(150);
            checkvaluessave(form_);
        }
        at(160);
        recomputeSelectedModule();
    });
}

void ModuleSelection::Image5_Click() {
    Traced proc(u"Form1.Image5_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        form_.Image9->hide();
        at(20);
        form_.Check(26)->show();
        form_.Check(26)->setToolTip(QStringLiteral("Save Settings"));
        at(30);
        const QString text = platform::SettingsStore::current().GetSetting(
            checkboxsettings::application(), checkboxsettings::section(), checkboxsettings::key(26),
            QStringLiteral("1"));
        form_.Check(26)->setValue(platform::CInt(text));
        at(40);
        form_.Image12->show();
        at(50);
        form_.Image5->hide();
    });
}

void ModuleSelection::Image12_Click() {
    Traced proc(u"Form1.Image12_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        form_.Check(26)->hide();
        at(20);
        form_.Image9->show();
        at(30);
        platform::SettingsStore::current().SaveSetting(
            checkboxsettings::application(), checkboxsettings::section(), checkboxsettings::key(26),
            QString::number(form_.Check(26)->Value()));
        at(40);
        form_.Image5->show();
        at(50);
        form_.Image12->hide();
        at(60);
        StartAtLogin(form_.Check(26)->Value() == 1);
    });
}

} // namespace veltrano
