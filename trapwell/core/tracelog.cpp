#include "core/tracelog.h"

#include "core/logfile.h"
#include "core/tracefile.h"

#include "platform/classicerrors.h"

#include <QAbstractEventDispatcher>
#include <QFile>
#include <QTimer>

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

TraceLog::TraceLog() = default;

TraceLog::~TraceLog() {
    try {
        flush();
    } catch (...) {
    }
}

void TraceLog::setLimit(qint64 bytes) {
    if (bytes < 0)
        platform::raiseError(platform::err::invalidPropertyValue);
    limit_ = bytes;
}

void TraceLog::restart(const QString& path) {
    // Waiting lines go where they were pushed for, and those of other handlers of the new
    // file go before it is deleted, as they would have had they been written at once.
    const auto flushQuietly = [](TraceFile& file) {
        try {
            file.flush();
        } catch (...) {
        }
    };
    if (file_)
        flushQuietly(*file_);
    path_ = path;
    encodedPath_ = QFile::encodeName(path);
    encodedOlderPath_ = QFile::encodeName(path + QStringLiteral(".1"));
    written_ = 0;
    file_ = TraceFile::at(encodedPath_);
    flushQuietly(*file_);
    LogFile::remove(encodedPath_);
    LogFile::remove(encodedOlderPath_);
}

void TraceLog::append(const QString& line) {
    const qint64 size = encodedSize(line);
    if (limit_ > 0 && written_ > 0 && written_ + size > limit_)
        rotate();
    if (!file_) // never started: raises the classic error of a missing file name
        LogFile::append(encodedPath_, line + QStringLiteral("\r\n"));
    else if (file_->append(line, flushInterval_))
        flushLater();
    written_ += size;
}

void TraceLog::setFlushInterval(int milliseconds) {
    if (milliseconds < 0)
        platform::raiseError(platform::err::invalidPropertyValue);
    flushInterval_ = milliseconds;
    flush();
}

void TraceLog::flush() {
    if (file_)
        file_->flush();
}

// The first line of a batch makes sure the batch is written even if no other line follows.
void TraceLog::flushLater() {
    if (!QAbstractEventDispatcher::instance())
        return;
    if (!timer_) {
        timer_ = std::make_unique<QTimer>();
        timer_->setSingleShot(true);
        QObject::connect(timer_.get(), &QTimer::timeout, [this] {
            try {
                flush();
            } catch (...) {
                // Nobody to tell: the lines are lost as a line that cannot be written is.
            }
        });
    }
    if (!timer_->isActive())
        timer_->start(flushInterval_);
}

void TraceLog::rotate() {
    // Everything before the limit belongs to the generation that is closed now.
    flush();
    // One generation: the older one is replaced. Should the rename fail, the file is dropped
    // rather than left to grow.
    if (std::rename(encodedPath_.constData(), encodedOlderPath_.constData()) != 0)
        LogFile::remove(encodedPath_);
    written_ = 0;
}

} // namespace trapwell::core
