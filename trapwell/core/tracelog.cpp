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

// A line as the file takes it: in the locale's 8-bit encoding, with its CR LF. Procedure
// names are nearly always short and ASCII: those are copied into the object itself in one
// pass, without an allocation.
class EncodedLine {
public:
    explicit EncodedLine(const QString& line) {
        const qsizetype n = line.size();
        if (n <= qsizetype(sizeof ascii_) - 2 &&
            copyAscii(reinterpret_cast<const char16_t*>(line.constData()), n)) {
            ascii_[n] = '\r';
            ascii_[n + 1] = '\n';
            data_ = ascii_;
            size_ = std::size_t(n) + 2;
            return;
        }
        other_ = line.toLocal8Bit() + "\r\n";
        data_ = other_.constData();
        size_ = std::size_t(other_.size());
    }
    EncodedLine(const EncodedLine&) = delete;
    EncodedLine& operator=(const EncodedLine&) = delete;

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    bool copyAscii(const char16_t* in, qsizetype n) {
        char16_t all = 0;
        for (qsizetype i = 0; i < n; ++i) {
            all |= in[i];
            ascii_[i] = char(in[i]);
        }
        return all < 0x80;
    }

    char ascii_[256];
    QByteArray other_;
    const char* data_;
    std::size_t size_;
};

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
    encodedPath_ = QFile::encodeName(path);
    encodedOlderPath_ = QFile::encodeName(path + QStringLiteral(".1"));
    written_ = 0;
    file_ = TraceFile::at(encodedPath_);
    flushQuietly(*file_);
    LogFile::remove(encodedPath_);
    LogFile::remove(encodedOlderPath_);
}

void TraceLog::append(const QString& line) {
    const EncodedLine encoded(line);
    const auto size = qint64(encoded.size());
    if (limit_ > 0 && written_ > 0 && written_ + size > limit_)
        rotate();
    if (!file_) // never started: raises the classic error of a missing file name
        LogFile::appendBytes(encodedPath_, encoded.data(), size);
    else if (file_->append(encoded.data(), encoded.size(), flushInterval_))
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
    // Restarted, not left running: while lines keep coming, they write each batch before
    // this timer would.
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
