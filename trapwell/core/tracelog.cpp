#include "core/tracelog.h"

#include "core/logfile.h"

#include "platform/classicerrors.h"

#include <QFile>

#include <cstdio>

namespace trapwell::core {

namespace {

// Bytes the line takes in the file; procedure names are nearly always ASCII, so the
// conversion is done only when it matters.
qint64 encodedSize(const QString& line) {
    for (const QChar c : line)
        if (c.unicode() >= 0x80)
            return line.toLocal8Bit().size() + 2;
    return line.size() + 2;
}

} // namespace

void TraceLog::setLimit(qint64 bytes) {
    if (bytes < 0)
        platform::raiseError(platform::err::invalidPropertyValue);
    limit_ = bytes;
}

void TraceLog::restart(const QString& path) {
    path_ = path;
    encodedPath_ = QFile::encodeName(path);
    encodedOlderPath_ = QFile::encodeName(path + QStringLiteral(".1"));
    written_ = 0;
    LogFile::remove(encodedPath_);
    LogFile::remove(encodedOlderPath_);
}

void TraceLog::append(const QString& line) {
    const qint64 size = encodedSize(line);
    if (limit_ > 0 && written_ > 0 && written_ + size > limit_)
        rotate();
    LogFile::append(encodedPath_, line + QStringLiteral("\r\n"));
    written_ += size;
}

void TraceLog::rotate() {
    // One generation: the older one is replaced. Should the rename fail, the file is dropped
    // rather than left to grow.
    if (std::rename(encodedPath_.constData(), encodedOlderPath_.constData()) != 0)
        LogFile::remove(encodedPath_);
    written_ = 0;
}

} // namespace trapwell::core
