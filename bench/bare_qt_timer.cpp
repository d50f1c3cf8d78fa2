// The floor Veltrano's idle cost is measured against: a Qt program that shows one window of
// the main window's size and runs a 16 ms timer, and does nothing else. Given a file name,
// each tick also opens that file, appends one trace line to it and closes it, as a traced
// procedure does with tracing on: the part of Veltrano's cost that is the trace itself.

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QByteArray trace = argc > 1 ? QFile::encodeName(QString::fromLocal8Bit(argv[1])) : "";
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare Qt timer"));
    window.resize(450, 238);
    window.show();
    QTimer timer;
    timer.setInterval(16);
    QObject::connect(&timer, &QTimer::timeout, &window, [&trace] {
        if (trace.isEmpty())
            return;
        const int fd = ::open(trace.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
        if (fd < 0)
            return;
        static const char line[] = "Form1.Timer1_Timer\r\n";
        if (::write(fd, line, sizeof line - 1) < 0)
            qWarning("trace line not written");
        ::close(fd);
    });
    timer.start();
    return app.exec();
}
