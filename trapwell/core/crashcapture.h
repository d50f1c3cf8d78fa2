#pragma once

#include <QString>

#include <atomic>
#include <csignal>
#include <cstdint>

namespace trapwell::core {

namespace crashdetail {
struct Frame {
    const char16_t* chars;
    std::int32_t size;
};
// What the signal handler reads, allocated before any crash; written only by the recording
// handler's thread. Inline, so Push and Pop store into it without a call.
inline constexpr int maxFrames = 256;
inline Frame frames[maxFrames + 1];
inline volatile std::sig_atomic_t depth = 0;
// Read by every thread's Push and Pop, set by whichever thread arms: atomic, and read relaxed,
// which costs a plain load.
inline std::atomic<const void*> recordingOwner = nullptr;
} // namespace crashdetail

// Writes what the host was doing when it crashed: on SIGSEGV, SIGBUS, SIGFPE, SIGILL and
// SIGABRT, on an alternate signal stack, the signal and the procedures on the stack of the
// handler that armed it go to a file opened in advance, and trace lines still held in memory
// to their trace files (TraceFile::writePendingFromSignal); then the previous handler is put back
// and the signal raised again, so the system's own crash handling (core dump, crash reporter)
// still runs. Process-wide: one handler object records at a time.
//
// The handler only reads the preallocated frame table below and writes with write(2); the
// names stay owned by the recording handler's CallStack, whose strings outlive their entry.
class CrashCapture {
public:
    // Deepest stack recorded; deeper procedures are counted but not named.
    static constexpr int maxFrames = crashdetail::maxFrames;

    // Arms the capture for owner (replacing another owner), writing to a new file of this
    // process in folder. Raises the classic file error when the folder or file cannot be made.
    static void arm(const void* owner, const QString& folder);
    // Puts the previous handlers back and removes this process's (empty) file; only the owner
    // disarms.
    static void disarm(const void* owner);
    static bool armedFor(const void* owner);

    // The procedure at depth (1 = outermost) of owner is name, whose characters stay valid
    // until left() drops that depth. Called by Push and Pop: a few stores, no locking. Calls
    // of a handler that is not the recording one change nothing.
    static void entered(const void* owner, std::int32_t depth, const QString& name) noexcept {
        if (owner != crashdetail::recordingOwner.load(std::memory_order_relaxed))
            return;
        if (depth >= 1 && depth <= maxFrames)
            crashdetail::frames[depth] = {reinterpret_cast<const char16_t*>(name.constData()),
                                          std::int32_t(name.size())};
        // The frame before the depth that shows it: the handler runs on this thread, so keeping
        // the compiler from reordering the stores is all it takes.
        std::atomic_signal_fence(std::memory_order_release);
        crashdetail::depth = depth;
    }
    static void left(const void* owner, std::int32_t newDepth) noexcept {
        if (owner == crashdetail::recordingOwner.load(std::memory_order_relaxed)) {
            crashdetail::depth = newDepth;
            std::atomic_signal_fence(std::memory_order_seq_cst); // before the name goes
        }
    }

    // The text a crashed run of any process left in folder, oldest first, removing it;
    // empty when there is none. Files of processes still running are left alone.
    static QString takePending(const QString& folder);

    // The folder the component keeps it in: $XDG_STATE_HOME/trapwell (~/.local/state/trapwell).
    static QString defaultFolder();
};

} // namespace trapwell::core
