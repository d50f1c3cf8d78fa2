// The floor Veltrano's idle cost is measured against: a Qt program that shows one window of
// the main window's size and runs a 16 ms timer, and does nothing else.

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare Qt timer"));
    window.resize(450, 238);
    window.show();
    QTimer timer;
    timer.setInterval(16);
    QObject::connect(&timer, &QTimer::timeout, &window, [] {});
    timer.start();
    return app.exec();
}
