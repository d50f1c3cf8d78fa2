#pragma once

#include <trapwell/comtypes.h>

#include <QString>

#include <cstdint>

namespace trapwell {

// {F26A6FFF-7001-42EC-B184-98F1954EC4A3}
inline constexpr Guid IID_clsErrHandler2{
    0xF26A6FFF, 0x7001, 0x42EC, {0xB1, 0x84, 0x98, 0xF1, 0x95, 0x4E, 0xC4, 0xA3}};

// What a handler object offers beside IclsErrHandler, reached with queryInterface on it.
// Every option here starts in the state that leaves the handler's behaviour as it always was
// (the trace limit excepted: see TraceLimit).
// Append-only: slot order and identifiers never change; hosts bind to both.
class IclsErrHandler2 : public IUnknown {
public:
    // Seconds during which the same error (number, procedure, line) reported again is
    // logged and counted but does not open the error dialog again; 0 (default) shows it
    // every time. Negative values raise error 380.
    virtual HResult get_RepeatWindow(std::int32_t* result) = 0; // slot 0
    virtual HResult put_RepeatWindow(std::int32_t seconds) = 0; // slot 1
    // Size in bytes at which Trace.log becomes Trace.log.1 and a new one begins; default
    // 8 MB, so a long traced run takes at most twice that on disk. 0 lets the trace grow
    // without limit, as it originally did. Negative values raise error 380.
    virtual HResult get_TraceLimit(std::int64_t* result) = 0; // slot 2
    virtual HResult put_TraceLimit(std::int64_t bytes) = 0;   // slot 3
    // Keep reports that cannot be delivered (mail over SMTP, posting, the collector) in
    // $XDG_STATE_HOME/trapwell/outbox/ and send them again from a background thread, now and
    // then at growing intervals of at most 10 minutes. Off by default.
    virtual HResult get_Outbox(bool* result) = 0; // slot 4
    virtual HResult put_Outbox(bool on) = 0;      // slot 5
    // Mask in every copy that leaves the machine (mail body, clipboard, posted data) the home
    // folder (as "~"), the user and host names, e-mail addresses and the values of parameters
    // whose names contain a listed word. The report as displayed and Error.log stay whole.
    // Off by default.
    virtual HResult get_PrivateReports(bool* result) = 0; // slot 6
    virtual HResult put_PrivateReports(bool on) = 0;      // slot 7
    // The words, separated by commas; default "password,passwd,token,secret,key,email,mail".
    virtual HResult get_PrivateParameters(QString* result) = 0;      // slot 8
    virtual HResult put_PrivateParameters(const QString& names) = 0; // slot 9
    // Where each handled error is also sent, at once and from a background thread: an error
    // collector's DSN ("https://KEY@HOST/PROJECT") gets an event in its envelope protocol
    // (exception, one frame per procedure on the stack, the top procedure's parameters, the
    // application and system sections, the last 100 procedures entered, the release); any
    // other http(s) URL gets the four report sections as a JSON document in a POST. Masked
    // when PrivateReports is on; kept in the outbox when Outbox is on and sending fails.
    // Empty (default) sends nothing. Other schemes raise error 380.
    virtual HResult get_ReportUrl(QString* result) = 0;        // slot 10
    virtual HResult put_ReportUrl(const QString& address) = 0; // slot 11
    // When the host process crashes (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT), write the
    // signal and the procedures on this handler's stack to $XDG_STATE_HOME/trapwell/, then let
    // the system's own crash handling go on. One handler of a process records at a time (the
    // last one switched on). Off by default.
    virtual HResult get_CrashCapture(bool* result) = 0; // slot 12
    virtual HResult put_CrashCapture(bool on) = 0;      // slot 13
    // What a crashed earlier run left: "Signal <n> <NAME>", then one procedure per line,
    // outermost first, each line ended by LF; empty when there is none. Reading it removes it,
    // so each crash is reported once (ErrHandler::reportPendingCrash does that).
    virtual HResult get_PendingCrash(QString* result) = 0; // slot 14
    // Milliseconds a trace line may wait in memory before it reaches Trace.log, together with
    // the others that waited, in one append. 0 (default) writes each line as it is pushed.
    // A line waits at most that long (a timer of the pushing thread's event loop writes it;
    // in a thread without one, the next line after that time does), and everything waiting
    // is written first whenever the trace must be whole: HandleError, ShowErrorLog, switching
    // TraceExecution, a new Destination, the TraceLimit's change of file, FlushTrace, the end
    // of the handler, the end of the process (returning from main or exit(), not _Exit; and on
    // SIGTERM, SIGINT or SIGHUP, before the host's handler or the signal's own end) and, with
    // CrashCapture on, a crash. The file ends up with the same bytes either way.
    // Negative values raise error 380; setting it writes what waits.
    virtual HResult get_TraceFlushInterval(std::int32_t* result) = 0;      // slot 15
    virtual HResult put_TraceFlushInterval(std::int32_t milliseconds) = 0; // slot 16
    // Writes the trace lines that wait in memory now; the classic file error when it fails.
    // For a host about to end without exit() (_Exit).
    virtual HResult FlushTrace() = 0; // slot 17

protected:
    ~IclsErrHandler2() = default;
};

} // namespace trapwell
