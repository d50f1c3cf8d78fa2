#include "tracing/veltranoapplication.h"

#include "tracing/clsaehandling.h"

#include "platform/messagebox.h"

#include <trapwell/comtypes.h>

#include <QStandardPaths>

#include <cstdio>
#include <cstring>

namespace veltrano {

VeltranoApplication::VeltranoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Veltrano"));
}

bool VeltranoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        fatalError();
    }
    return true;
}

bool VeltranoApplication::startUp(const std::function<void()>& steps) {
    try {
        steps();
        return true;
    } catch (...) {
        fatalError();
    }
    return false;
}

void VeltranoApplication::fatalError() {
    // The box processes events: a handler that fails the same way meanwhile (the main
    // window's timer, with no component) must not stack a second box on the first, which
    // ends the program once it is answered.
    static bool showing = false;
    if (showing)
        return;
    const trapwell::RuntimeError error = trapwell::currentExceptionAsError();
    const QString text =
        QStringLiteral("Run-time error '%1':\n\n%2").arg(error.number()).arg(error.description());
    // Also where a terminal or the session's log keeps it: the box may never be seen.
    std::fprintf(stderr, "veltrano: %s\n", qPrintable(QString(text).replace(u'\n', u' ')));
    showing = true;
    try {
        platform::MsgBox(text, platform::mb::Critical, QStringLiteral("Veltrano"));
    } catch (...) {
        // The message could not be shown; the program ends all the same.
    }
    showing = false;
    clsAEHandling::endProgram(1);
}

void VeltranoApplication::preferX11(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsSet("DISPLAY"))
        return;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return;
    qputenv("QT_QPA_PLATFORM", "xcb");
}

QString VeltranoApplication::instanceScope() {
    return qEnvironmentVariable("DISPLAY") + u'\n' + qEnvironmentVariable("WAYLAND_DISPLAY") +
           u'\n' + QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

} // namespace veltrano
