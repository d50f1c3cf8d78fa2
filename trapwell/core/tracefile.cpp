#include "core/tracefile.h"

#include "core/logfile.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace trapwell::core {

namespace {

// The files of the process by path. Never destroyed: handlers may end during the process's
// own teardown, after any static object.
struct Registry {
    std::mutex mutex;
    std::vector<std::weak_ptr<TraceFile>> files;
};

Registry& registry() {
    static Registry* const r = new Registry;
    return *r;
}

// The files that hold lines back, for the crash handler, which may not lock: plain slots
// filled once holding begins and emptied before the file goes. A file that finds no free
// slot writes its lines at once.
constexpr std::size_t holdingSlots = 16;
std::array<std::atomic<TraceFile*>, holdingSlots> holding{};

std::once_flag exitHookOnce;

// The signals that end a session (logging out, closing the terminal, Ctrl+C, a service
// stopping). Their default action ends the process without exit(), so their handler writes
// what is held back and then lets the signal take its course.
constexpr std::array<int, 3> endSignals{SIGTERM, SIGINT, SIGHUP};
struct sigaction previousEnd[endSignals.size()];

void onEndSignal(int sig, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    TraceFile::writePendingFromSignal();
    errno = savedErrno;
    for (std::size_t i = 0; i < endSignals.size(); ++i) {
        if (endSignals[i] != sig)
            continue;
        const struct sigaction& before = previousEnd[i];
        // The host's own handler decides what follows.
        if (before.sa_flags & SA_SIGINFO)
            return before.sa_sigaction(sig, info, context);
        if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN)
            return before.sa_handler(sig);
        // The default action: blocked until this handler returns, then it ends the process
        // by the signal, as its parent expects.
        ::sigaction(sig, &before, nullptr);
        ::raise(sig);
    }
}

// Once, when the first line is held back; a signal the host ignores stays ignored.
void catchEndSignals() {
    for (std::size_t i = 0; i < endSignals.size(); ++i) {
        struct sigaction before {};
        if (::sigaction(endSignals[i], nullptr, &before) != 0 ||
            (!(before.sa_flags & SA_SIGINFO) && before.sa_handler == SIG_IGN))
            continue;
        previousEnd[i] = before;
        struct sigaction action {};
        action.sa_sigaction = &onEndSignal;
        // As the host's handler was called: what it blocks, whether calls it interrupts go on.
        action.sa_mask = before.sa_mask;
        action.sa_flags =
            SA_SIGINFO | (before.sa_flags & (SA_RESTART | SA_ONSTACK | SA_NODEFER | SA_RESETHAND));
        ::sigaction(endSignals[i], &action, nullptr);
    }
}

} // namespace

std::shared_ptr<TraceFile> TraceFile::at(const QByteArray& encodedPath) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    std::erase_if(r.files, [](const std::weak_ptr<TraceFile>& f) { return f.expired(); });
    for (const std::weak_ptr<TraceFile>& weak : r.files)
        if (std::shared_ptr<TraceFile> file = weak.lock(); file && file->path_ == encodedPath)
            return file;
    auto file = std::make_shared<TraceFile>(encodedPath);
    r.files.push_back(file);
    return file;
}

TraceFile::CoarseClock::time_point TraceFile::CoarseClock::now() noexcept {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
    return time_point(std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec));
}

TraceFile::TraceFile(const QByteArray& encodedPath) : path_(encodedPath) {
}

TraceFile::~TraceFile() {
    try {
        flush();
    } catch (...) {
    }
    for (std::atomic<TraceFile*>& slot : holding) {
        TraceFile* self = this;
        slot.compare_exchange_strong(self, nullptr);
    }
}

bool TraceFile::startHolding() {
    for (std::atomic<TraceFile*>& slot : holding) {
        TraceFile* empty = nullptr;
        if (slot.compare_exchange_strong(empty, this)) {
            held_ = std::make_unique<char[]>(capacity);
            // Returning from main, exit() and the end signals write what is held back; _Exit
            // cannot.
            std::call_once(exitHookOnce, [] {
                std::atexit([] { flushAll(); });
                catchEndSignals();
            });
            return true;
        }
    }
    return false;
}

bool TraceFile::append(const char* line, std::size_t size, int holdMs) {
    const std::lock_guard lock(mutex_);
    if (holdMs <= 0 || size > capacity || (!held_ && !startHolding())) {
        // After what waits, so the lines keep their order.
        flushLocked();
        LogFile::appendBytes(path_, line, qsizetype(size));
        return false;
    }
    std::size_t end = end_.load(std::memory_order_relaxed);
    if (end + size > capacity) {
        flushLocked();
        end = 0;
    }
    std::memcpy(held_.get() + end, line, size);
    end_.store(end + size, std::memory_order_release);
    const auto now = CoarseClock::now();
    if (end == 0) {
        batchStart_ = now;
        return true;
    }
    // Lines that keep coming are written by the one that finds the batch three quarters of
    // the hold old: the caller's timer, restarted with each batch, then never has to wake
    // the thread while it traces. A thread whose event loop does not run relies on this.
    if (now - batchStart_ >= std::chrono::milliseconds(holdMs) * 3 / 4)
        flushLocked();
    return false;
}

void TraceFile::flush() {
    const std::lock_guard lock(mutex_);
    flushLocked();
}

void TraceFile::flushLocked() {
    const std::size_t end = end_.load(std::memory_order_relaxed);
    if (end == 0)
        return;
    // Emptied before the signal's share is forgotten, so a signal in between writes nothing.
    struct Emptied {
        std::atomic<std::size_t>& end;
        std::atomic<std::size_t>& signalWritten;
        ~Emptied() {
            end.store(0, std::memory_order_release);
            signalWritten.store(0, std::memory_order_release);
        }
    } emptied{end_, signalWritten_};
    const std::size_t from = signalWritten_.load(std::memory_order_acquire);
    if (from < end)
        LogFile::appendBytes(path_, held_.get() + from, qsizetype(end - from));
}

void TraceFile::flushAll() noexcept {
    std::vector<std::shared_ptr<TraceFile>> files;
    {
        Registry& r = registry();
        const std::lock_guard lock(r.mutex);
        for (const std::weak_ptr<TraceFile>& weak : r.files)
            if (std::shared_ptr<TraceFile> file = weak.lock())
                files.push_back(std::move(file));
    }
    for (const std::shared_ptr<TraceFile>& file : files) {
        try {
            file->flush();
        } catch (...) {
        }
    }
}

void TraceFile::writePendingFromSignal() noexcept {
    for (std::atomic<TraceFile*>& slot : holding) {
        TraceFile* file = slot.load(std::memory_order_acquire);
        if (!file)
            continue;
        const std::size_t end = file->end_.load(std::memory_order_acquire);
        const std::size_t from = file->signalWritten_.load(std::memory_order_acquire);
        if (end <= from)
            continue;
        // As LogFile::appendBytes opens it: no link followed, nothing but a regular file written.
        const int fd =
            ::open(file->path_.constData(),
                   O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            std::size_t done = from;
            while (done < end) {
                const ssize_t n = ::write(fd, file->held_.get() + done, end - done);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                done += std::size_t(n);
            }
            file->signalWritten_.store(done, std::memory_order_release);
        }
        ::close(fd);
    }
}

} // namespace trapwell::core
