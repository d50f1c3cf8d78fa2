#pragma once

#include <QObject>

namespace veltrano {

class Form1;

// Start, Stop and the frequency of the presentation, from the main window. Start runs the
// presentation inside its own click handler; Stop and the frequency buttons normally run
// nested inside the presentation's waits and only change what the cycle reads.
class PresentationControl : public QObject {
    Q_OBJECT

public:
    explicit PresentationControl(Form1& form);

    void Image2_Click(); // Start
    void Image3_Click(); // Stop
    void Image7_Click(); // shorter interval
    void Image8_Click(); // longer interval

    void showRunningLook();
    void showStoppedLook();

signals:
    // The main window switched to the running (true) or the stopped look.
    void lookChanged(bool running);

private:
    Form1& form_;
};

} // namespace veltrano
