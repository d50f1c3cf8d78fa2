#include "core/crashcapture.h"

#include "core/tracefile.h"

#include "platform/classicerrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace trapwell::core {

namespace {

constexpr std::array<int, 5> crashSignals{SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

using crashdetail::depth;
using crashdetail::frames;
using crashdetail::recordingOwner;

// Everything else the signal handler touches, allocated before any crash.
int fileDescriptor = -1;
struct sigaction previous[crashSignals.size()];
// A stack overflow is handled on the faulting thread, so the thread whose stack is recorded
// needs an alternate signal stack of its own. Big enough for the handler and the kernel's
// frame; kept until the thread ends (a crash may come at any time), and switched off before
// its memory goes. A thread that has one already (the host's) keeps it.
class AlternateStack {
public:
    static void ensureOnThisThread() {
        thread_local AlternateStack stack;
        stack.install();
    }
    AlternateStack() = default;
    AlternateStack(const AlternateStack&) = delete;
    AlternateStack& operator=(const AlternateStack&) = delete;
    ~AlternateStack() {
        stack_t current{};
        if (memory_ && ::sigaltstack(nullptr, &current) == 0 && current.ss_sp == memory_.get()) {
            stack_t off{};
            off.ss_flags = SS_DISABLE;
            ::sigaltstack(&off, nullptr);
        }
    }

private:
    static constexpr std::size_t size = 64 * 1024;
    void install() {
        stack_t current{};
        if (::sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE))
            return;
        if (!memory_)
            memory_ = std::make_unique<char[]>(size);
        stack_t stack{};
        stack.ss_sp = memory_.get();
        stack.ss_size = size;
        ::sigaltstack(&stack, nullptr);
    }
    std::unique_ptr<char[]> memory_;
};
std::atomic<bool> handling{false};
QByteArray filePath;

const char* signalName(int sig) {
    switch (sig) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGABRT:
        return "SIGABRT";
    }
    return "signal";
}

// Async-signal-safe output: a byte buffer flushed with write(2).
class Writer {
public:
    explicit Writer(int fd) : fd_(fd) {}
    ~Writer() { flush(); }
    void put(char c) {
        if (used_ == sizeof buffer_)
            flush();
        buffer_[used_++] = c;
    }
    void text(const char* s) {
        while (*s)
            put(*s++);
    }
    void number(long n) {
        char digits[24];
        int i = 0;
        if (n < 0) {
            put('-');
            n = -n;
        }
        do {
            digits[i++] = char('0' + n % 10);
            n /= 10;
        } while (n > 0 && i < 24);
        while (i > 0)
            put(digits[--i]);
    }
    // UTF-16 to UTF-8; an unpaired surrogate becomes '?'.
    void utf16(const char16_t* s, std::int32_t size) {
        for (std::int32_t i = 0; i < size; ++i) {
            std::uint32_t c = s[i];
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < size && s[i + 1] >= 0xDC00 &&
                s[i + 1] < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                ++i;
            } else if (c >= 0xD800 && c < 0xE000) {
                c = '?';
            }
            if (c == '\n' || c == '\r')
                c = ' '; // one procedure per line
            if (c < 0x80) {
                put(char(c));
            } else if (c < 0x800) {
                put(char(0xC0 | (c >> 6)));
                put(char(0x80 | (c & 0x3F)));
            } else if (c < 0x10000) {
                put(char(0xE0 | (c >> 12)));
                put(char(0x80 | ((c >> 6) & 0x3F)));
                put(char(0x80 | (c & 0x3F)));
            } else {
                put(char(0xF0 | (c >> 18)));
                put(char(0x80 | ((c >> 12) & 0x3F)));
                put(char(0x80 | ((c >> 6) & 0x3F)));
                put(char(0x80 | (c & 0x3F)));
            }
        }
    }
    void flush() {
        std::size_t done = 0;
        while (done < used_) {
            const ssize_t n = ::write(fd_, buffer_ + done, used_ - done);
            if (n <= 0 && errno != EINTR)
                break;
            if (n > 0)
                done += std::size_t(n);
        }
        used_ = 0;
    }

private:
    int fd_;
    char buffer_[512];
    std::size_t used_ = 0;
};

void onCrash(int sig) {
    // A second crash while writing (another thread, or this handler) only ends the process.
    if (!handling.exchange(true) && fileDescriptor >= 0) {
        const int savedErrno = errno;
        Writer out(fileDescriptor);
        out.text("Signal ");
        out.number(sig);
        out.put(' ');
        out.text(signalName(sig));
        out.put('\n');
        const std::int32_t n = depth;
        std::atomic_signal_fence(std::memory_order_acquire); // pairs with entered()
        for (std::int32_t i = 1; i <= n && i <= CrashCapture::maxFrames; ++i) {
            out.utf16(frames[i].chars, frames[i].size);
            out.put('\n');
        }
        if (n > CrashCapture::maxFrames) {
            out.text("... ");
            out.number(n - CrashCapture::maxFrames);
            out.text(" more\n");
        }
        out.flush();
        TraceFile::writePendingFromSignal();
        errno = savedErrno;
    }
    for (std::size_t i = 0; i < crashSignals.size(); ++i)
        if (crashSignals[i] == sig)
            ::sigaction(sig, &previous[i], nullptr);
    // Blocked until this handler returns; then the previous handler (or the default action)
    // takes it. A fault re-executes the faulting instruction as well.
    ::raise(sig);
}

QString stateFolder() {
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    return (state.startsWith(u'/') ? state : QDir::homePath() + QStringLiteral("/.local/state")) +
           QStringLiteral("/trapwell");
}

bool processRunning(qint64 pid) {
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

QString CrashCapture::defaultFolder() {
    return stateFolder();
}

void CrashCapture::arm(const void* owner, const QString& folder) {
    if (recordingOwner) {
        AlternateStack::ensureOnThisThread(); // the new owner may live on another thread
        recordingOwner = owner;               // and re-records its own stack
        depth = 0;
        return;
    }
    if (!QDir().mkpath(folder))
        platform::raiseError(platform::err::pathNotFound);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    filePath = QFile::encodeName(folder + QStringLiteral("/crash-%1.txt").arg(::getpid()));
    fileDescriptor = ::open(filePath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fileDescriptor < 0)
        platform::raiseError(platform::errorNumberFromErrno(errno));
    AlternateStack::ensureOnThisThread();
    struct sigaction action {};
    action.sa_handler = &onCrash;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < crashSignals.size(); ++i)
        ::sigaction(crashSignals[i], &action, &previous[i]);
    depth = 0;
    recordingOwner = owner;
}

void CrashCapture::disarm(const void* owner) {
    if (!recordingOwner || recordingOwner != owner)
        return;
    for (std::size_t i = 0; i < crashSignals.size(); ++i)
        ::sigaction(crashSignals[i], &previous[i], nullptr);
    recordingOwner = nullptr;
    depth = 0;
    ::close(fileDescriptor);
    fileDescriptor = -1;
    ::unlink(filePath.constData());
}

bool CrashCapture::armedFor(const void* owner) {
    return owner && recordingOwner == owner;
}

QString CrashCapture::takePending(const QString& folder) {
    const QFileInfoList files = QDir(folder).entryInfoList(
        {QStringLiteral("crash-*.txt")}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& file : files) {
        const qint64 pid = file.completeBaseName().mid(6).toLongLong();
        if (pid == ::getpid() || processRunning(pid))
            continue;
        QFile f(file.filePath());
        const QString text =
            f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        f.close();
        QFile::remove(file.filePath());
        if (!text.isEmpty())
            return text;
    }
    return {};
}

} // namespace trapwell::core
