#pragma once

#include <QApplication>

namespace veltrano {

// The program's application object. A failure that no traced procedure caught (the error
// component cannot be created, a parameter cannot be recorded in an event handler) stops
// the program with a fatal error message, as an untrapped run-time error always did.
class VeltranoApplication : public QApplication {
public:
    VeltranoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Chooses X11 (through XWayland on a Wayland desktop) when the user has not chosen a
    // platform: Wayland gives ordinary windows neither always-on-top nor a way to be shown
    // without taking the focus. Call before constructing the application.
    static void preferX11(int argc, char** argv);
};

} // namespace veltrano
