// Veltrano: flashes the entries of a word module in a strip above all windows while the
// user works elsewhere. Everything hangs off the main window.

#include "mainwindow/form1.h"
#include "tracing/clsaehandling.h"
#include "tracing/veltranoapplication.h"

#include <QTimer>

int main(int argc, char** argv) {
    veltrano::VeltranoApplication::preferX11(argc, argv);
    veltrano::VeltranoApplication app(argc, argv);

    veltrano::Form1 form;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &form, &veltrano::Form1::Form_Terminate);
    form.Form_Load();
    form.show();
    // Once the window is up: what a crash of the previous run left.
    QTimer::singleShot(0, &form, [] { veltrano::clsAEHandling::shared().reportPendingCrash(); });
    return app.exec();
}
