#pragma once

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>

namespace trapwell::core {

// One trace file of the process, shared by every handler that traces to it (handlers live on
// different threads), so lines keep the order they were pushed in whether they are written
// at once or held back. Held-back lines wait in a buffer allocated in advance and reach the
// file together in one append; a signal handler can still write them with open, write and
// close alone (writePendingFromSignal), and the end of the process writes them too: exit(),
// and SIGTERM, SIGINT and SIGHUP, whose handler writes them before the signal takes its
// course (the host's own handler, or the default action).
class TraceFile {
public:
    // Bytes held back at most; a line that would overflow them writes the others first.
    static constexpr std::size_t capacity = 64 * 1024;

    // The process's object for the file at encodedPath, made on first use.
    static std::shared_ptr<TraceFile> at(const QByteArray& encodedPath);
    // Writes what is still held back; a failure loses it, as it would lose a single line.
    ~TraceFile();
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // Appends an encoded line (with its CR LF). With holdMs 0, at once (open, append, close)
    // after what other handlers left held back; otherwise the line is held back, and
    // everything held back is written by the first line that finds it has waited three
    // quarters of holdMs. True when the line began a new batch (the caller then makes sure
    // it does not wait longer than holdMs). Raises the classic file errors.
    bool append(const char* line, std::size_t size, int holdMs);
    // Writes what is held back now, in one append. On failure it is dropped and the classic
    // file error raised.
    void flush();

    // Every file's held-back lines, for the end of the process; failures are ignored.
    static void flushAll() noexcept;
    // Every file's held-back lines not yet written by a signal, from a signal handler: only
    // async-signal-safe calls. Lines being written by another thread at that moment may appear
    // twice.
    static void writePendingFromSignal() noexcept;

    explicit TraceFile(const QByteArray& encodedPath);

private:
    // The monotonic clock at the kernel's tick: read from memory, without the time stamp
    // counter, which is all a hold of many milliseconds needs.
    struct CoarseClock {
        using duration = std::chrono::nanoseconds;
        using rep = duration::rep;
        using period = duration::period;
        using time_point = std::chrono::time_point<CoarseClock>;
        static constexpr bool is_steady = true;
        static time_point now() noexcept;
    };

    void flushLocked();
    bool startHolding();

    const QByteArray path_;
    std::mutex mutex_;
    std::unique_ptr<char[]> held_; // capacity bytes, once the first line is held back
    // Bytes [0, end_) are held back: end_ moves only after the bytes are in place, so the
    // crash handler never writes a half-copied line.
    std::atomic<std::size_t> end_{0};
    // Bytes [0, signalWritten_) a signal handler wrote already: a host's handler of SIGTERM
    // may let the process go on, and the next flush must not write them again.
    std::atomic<std::size_t> signalWritten_{0};
    CoarseClock::time_point batchStart_;
};

} // namespace trapwell::core
