#include "tracing/veltranoapplication.h"

#include "mainwindow/imagebutton.h"

#include "platform/messagebox.h"
#include "platform/programend.h"

#include <trapwell/runtimeerror.h>

#include <cstring>

namespace veltrano {

VeltranoApplication::VeltranoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Veltrano"));
    loadImageResources();
}

bool VeltranoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const trapwell::RuntimeError& e) {
        platform::MsgBox(
            QStringLiteral("Run-time error '%1':\n\n%2").arg(e.number()).arg(e.description()),
            platform::mb::Critical, QStringLiteral("Veltrano"));
    } catch (const std::exception& e) {
        platform::MsgBox(QStringLiteral("Run-time error '51':\n\n%1").arg(e.what()),
                         platform::mb::Critical, QStringLiteral("Veltrano"));
    }
    platform::endProgram();
    return true;
}

void VeltranoApplication::preferX11(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsSet("DISPLAY"))
        return;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return;
    qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace veltrano
