// Veltrano: flashes the entries of a word module in a strip above all windows while the
// user works elsewhere. Everything hangs off the main window.

#include "mainwindow/form1.h"
#include "mainwindow/importhandler.h"
#include "tracing/clsaehandling.h"
#include "tracing/veltranoapplication.h"

#include "platform/singleinstance.h"

#include <QTimer>

int main(int argc, char** argv) {
    // "veltrano --import FILE": for scripts, without a window, beside a running copy.
    if (veltrano::ImportHandler::isImportCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        return veltrano::ImportHandler::runCommand(app.arguments());
    }
    veltrano::VeltranoApplication::preferX11(argc, argv);
    veltrano::VeltranoApplication app(argc, argv);

    // A second start only brings the running copy's window forward, before anything is
    // logged or shown. The message's first word is the request; arguments may follow it.
    platform::SingleInstance instance(QStringLiteral("veltrano"),
                                      veltrano::VeltranoApplication::instanceScope());
    if (!instance.claim({QStringLiteral("activate")}))
        return 0;

    veltrano::Form1 form;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &form, &veltrano::Form1::Form_Terminate);
    // The load runs before the event loop, outside notify(): a failure that escapes it (no
    // component, a settings store that cannot be written) gets the fatal message here.
    if (!veltrano::VeltranoApplication::startUp([&] {
            form.Form_Load();
            form.show();
        }))
        return 1;
    QObject::connect(&instance, &platform::SingleInstance::received, &form,
                     [&form](const QStringList& message) {
                         if (message.value(0) == u"activate")
                             form.Instance_Activate();
                     });
    // Once the window is up: what a crash of the previous run left.
    QTimer::singleShot(0, &form, [] { veltrano::clsAEHandling::shared().reportPendingCrash(); });
    // Form_Terminate runs from aboutToQuit, after the last event: the same holds there.
    int status = 1;
    veltrano::VeltranoApplication::startUp([&] { status = app.exec(); });
    return status;
}
