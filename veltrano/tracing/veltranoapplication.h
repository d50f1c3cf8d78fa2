#pragma once

#include <QApplication>

#include <functional>

namespace veltrano {

// The program's application object. A failure that no traced procedure caught (the error
// component cannot be created, the settings store cannot be written, a parameter cannot be
// recorded in an event handler) stops the program with a fatal error message, as an
// untrapped run-time error always did, and a non-zero exit status.
class VeltranoApplication : public QApplication {
public:
    VeltranoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Runs start-up code that no event handler wraps (the main window's load, called from
    // main). Returns true when it ran through; otherwise the fatal message has been shown and
    // the program ended (false comes back only under a test's ProgramEnd).
    static bool startUp(const std::function<void()>& steps);

    // The fatal error message for the exception being handled: "Run-time error 'N':", an
    // empty line and the error's text in a critical box, then the program ends with exit
    // status 1. Call only inside a catch block.
    static void fatalError();

    // Chooses X11 (through XWayland on a Wayland desktop) when the user has not chosen a
    // platform: Wayland gives ordinary windows neither always-on-top nor a way to be shown
    // without taking the focus. Call before constructing the application.
    static void preferX11(int argc, char** argv);

    // Where only one copy of the program runs: a display and a settings folder. A copy on
    // another display, or one with settings of its own (a test, a benchmark), is another
    // program to its user.
    static QString instanceScope();
};

} // namespace veltrano
