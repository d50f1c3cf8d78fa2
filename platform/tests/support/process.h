#pragma once

// Runs a program to its end and takes what it printed: the tests under a window manager ask
// the display's own tools (xdotool, xprop, xwininfo) what the window manager did.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testprocess {

// The program's standard output, trimmed; empty when it could not run or took over 10 s.
inline QString output(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

} // namespace testprocess
