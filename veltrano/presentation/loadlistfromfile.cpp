#include "presentation/loadlistfromfile.h"

#include <QFile>
#include <QListWidget>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrano {

namespace {

// Bytes kept of one line before decoding: enough for maxEntryLength characters of up to
// four bytes each, so the cut after decoding never falls inside a character.
constexpr qsizetype maxLineBytes = qsizetype(maxEntryLength) * 4;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Collects lines from a stream of bytes that may split a CR LF between two reads.
class LineSplitter {
public:
    explicit LineSplitter(QStringList& entries) : entries_(entries) {}

    bool full() const { return entries_.size() >= maxModuleEntries; }

    void feed(const char* data, qsizetype size) {
        for (qsizetype i = 0; i < size && !full(); ++i) {
            const char c = data[i];
            if (c == '\n' && afterCr_) {
                afterCr_ = false;
                continue;
            }
            afterCr_ = c == '\r';
            if (c == '\r' || c == '\n') {
                endLine();
            } else if (line_.size() < maxLineBytes) {
                line_.append(c);
            }
        }
    }

    void endLine() {
        if (!line_.isEmpty() && !full()) {
            QString entry = QString::fromLocal8Bit(line_);
            if (entry.size() > maxEntryLength) {
                // Never leave half of a surrogate pair at the end.
                const bool splitsPair = entry.at(maxEntryLength - 1).isHighSurrogate();
                entry.truncate(splitsPair ? maxEntryLength - 1 : maxEntryLength);
            }
            entries_.append(entry);
        }
        line_.clear();
    }

private:
    QStringList& entries_;
    QByteArray line_;
    bool afterCr_ = false;
};

} // namespace

QStringList readModuleEntries(const QString& path) {
    QStringList entries;
    // Not blocking at open: a FIFO without a writer would otherwise hold the window.
    const FileDescriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return entries;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return entries;

    LineSplitter lines(entries);
    char buffer[64 * 1024];
    qint64 total = 0;
    while (total < maxModuleBytes && !lines.full()) {
        const qint64 wanted = std::min<qint64>(sizeof buffer, maxModuleBytes - total);
        const ssize_t got = ::read(fd.get(), buffer, size_t(wanted));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return entries; // a read error keeps the entries read before it
        if (got == 0)
            break;
        total += got;
        lines.feed(buffer, got);
    }
    // The last line needs no terminator.
    lines.endLine();
    return entries;
}

void LoadListFromFile(const QString& path, QListWidget* list) {
    list->clear();
    list->addItems(readModuleEntries(path));
}

} // namespace veltrano
