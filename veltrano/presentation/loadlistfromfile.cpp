#include "presentation/loadlistfromfile.h"

#include "platform/filedescriptor.h"

#include <QFile>
#include <QListWidget>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace veltrano {

namespace {

// Bytes kept of one line before decoding: enough for maxEntryLength characters of up to
// four bytes each, so the cut after decoding never falls inside a character.
constexpr qsizetype maxLineBytes = qsizetype(maxEntryLength) * 4;

// Collects lines from a stream of bytes that may split a line, or a CR LF, between reads.
class LineSplitter {
public:
    explicit LineSplitter(QStringList& entries) : entries_(entries) {}

    bool full() const { return entries_.size() >= maxModuleEntries; }

    void feed(const char* data, qsizetype size) {
        const char* at = data;
        const char* const end = data + size;
        // The next CR and LF at or after `at`, each searched again only once passed, so the
        // scan stays linear whichever line end a file uses.
        const char* nextCr = nullptr;
        const char* nextLf = nullptr;
        auto next = [&](const char*& found, char c) {
            if (!found || found < at) {
                const void* hit = std::memchr(at, c, std::size_t(end - at));
                found = hit ? static_cast<const char*>(hit) : end;
            }
            return found;
        };
        while (at < end && !full()) {
            if (std::exchange(afterCr_, false) && *at == '\n') {
                ++at; // the LF of a CR LF
                continue;
            }
            const char* stop = std::min(next(nextCr, '\r'), next(nextLf, '\n'));
            if (stop == end) {
                keep(at, stop - at);
                return;
            }
            if (line_.isEmpty()) {
                addEntry(at, stop - at); // the whole line lies in this read
            } else {
                keep(at, stop - at);
                endLine();
            }
            afterCr_ = *stop == '\r';
            at = stop + 1;
        }
    }

    // Ends the line begun in an earlier read.
    void endLine() {
        addEntry(line_.constData(), line_.size());
        line_.truncate(0);
    }

private:
    // Keeps the start of a line that goes on in the next read.
    void keep(const char* bytes, qsizetype size) {
        const qsizetype room = std::max<qsizetype>(maxLineBytes - line_.size(), 0);
        line_.append(bytes, std::min(size, room));
    }

    void addEntry(const char* bytes, qsizetype size) {
        if (size == 0 || full())
            return;
        QString entry = QString::fromLocal8Bit(bytes, std::min(size, maxLineBytes));
        if (entry.size() > maxEntryLength) {
            // Never leave half of a surrogate pair at the end.
            const bool splitsPair = entry.at(maxEntryLength - 1).isHighSurrogate();
            entry.truncate(splitsPair ? maxEntryLength - 1 : maxEntryLength);
        }
        entries_.append(entry);
    }

    QStringList& entries_;
    QByteArray line_;
    bool afterCr_ = false;
};

} // namespace

QStringList readModuleEntries(const QString& path) {
    QStringList entries;
    // Not blocking at open: a FIFO without a writer would otherwise hold the window.
    const platform::FileDescriptor fd(
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
    const QStringList entries = readModuleEntries(path);
    // The module is read again before every entry, and is nearly always unchanged: a list
    // that already holds it keeps its items, and with them its layout.
    if (list->count() == entries.size()) {
        int same = 0;
        while (same < entries.size() && list->item(same)->text() == entries[same])
            ++same;
        if (same == entries.size())
            return;
    }
    // One repaint for the whole change rather than one per row.
    const bool updates = list->updatesEnabled();
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(entries);
    list->setUpdatesEnabled(updates);
}

} // namespace veltrano
