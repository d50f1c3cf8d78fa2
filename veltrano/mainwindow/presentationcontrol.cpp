#include "mainwindow/presentationcontrol.h"

#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "presentation/form2.h"
#include "presentation/modsubliminal.h"
#include "presentation/presentationstate.h"
#include "tracing/traced.h"

#include "platform/messagebox.h"

#include <QProgressBar>
#include <QPushButton>

namespace veltrano {

PresentationControl::PresentationControl(Form1& form) : form_(form) {
    connect(form.Image2, &ImageButton::Click, this, &PresentationControl::Image2_Click);
    connect(form.Image3, &ImageButton::Click, this, &PresentationControl::Image3_Click);
    connect(form.Image7, &ImageButton::Click, this, &PresentationControl::Image7_Click);
    connect(form.Image8, &ImageButton::Click, this, &PresentationControl::Image8_Click);
}

void PresentationControl::showRunningLook() {
    form_.Image2->hide();
    form_.Image3->show();
    form_.Image14->hide();
    form_.Image13->show();
    form_.cmdStart->setText(QStringLiteral("Stop"));
    emit lookChanged(true);
}

void PresentationControl::showStoppedLook() {
    form_.Image2->show();
    form_.Image3->hide();
    form_.Image14->show();
    form_.Image13->hide();
    form_.cmdStart->setText(QStringLiteral("Start"));
    emit lookChanged(false);
}

void PresentationControl::Image2_Click() {
    // A refused start leaves no trace: the check comes before the entry is reported.
    if (Presentation::SelectedModule < 4 || Presentation::SelectedModule > 25) {
        platform::MsgBox(QStringLiteral("You have to select a module"), platform::mb::OKOnly,
                         QStringLiteral("Veltrano Rudoz Arirera"));
        return;
    }
    Traced proc(u"Form1.Image2_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        showRunningLook();
        at(20);
        Presentation::running = true;
        at(30);
        // The first start creates the display window, whose load runs the cycle.
        if (Form2::exists())
            module();
        else
            Form2::load();
    });
}

void PresentationControl::Image3_Click() {
    Traced proc(u"Form1.Image3_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        form_.cmdStart->setText(QStringLiteral("Start"));
        at(20);
        if (Form2::exists())
            Form2::instance().hide();
        Presentation::running = false;
        at(30);
        showStoppedLook();
    });
}

void PresentationControl::Image7_Click() {
    Traced proc(u"Form1.Image7_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        if (Presentation::WordInterval > 15)
            Presentation::WordInterval = std::int16_t(Presentation::WordInterval - 5);
        else
            Presentation::WordInterval = 15;
        at(20);
        QProgressBar* bar = form_.ProgressBar1;
        bar->setValue(bar->value() < 30 ? bar->value() + 5 : 30);
    });
}

void PresentationControl::Image8_Click() {
    Traced proc(u"Form1.Image8_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        if (Presentation::WordInterval < 30)
            Presentation::WordInterval = std::int16_t(Presentation::WordInterval + 5);
        at(20);
        QProgressBar* bar = form_.ProgressBar1;
        bar->setValue(bar->value() < 19 ? 15 : bar->value() - 5);
    });
}

} // namespace veltrano
