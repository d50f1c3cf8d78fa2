#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QTimer;

namespace trapwell::core {

class TraceFile;

// The trace log: one procedure name per line, CR LF, in the locale's 8-bit encoding.
// Every append opens, writes and closes the file, so a trace survives a crash of the host.
// A host may let lines wait in memory instead (flushInterval), to be written together; the
// file then ends up with the same bytes once they are written.
// Beside that: when an append would take the file past the size limit, the file becomes
// "Trace.log.1" (replacing an older one) and a new one begins, so a long run keeps at most
// twice the limit on disk.
class TraceLog {
public:
    static constexpr qint64 defaultLimit = 8 * 1024 * 1024;

    TraceLog();
    // Writes what waits; failures are ignored, as nobody is left to hear of them.
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Bytes; 0 lets the file grow without limit. Negative values raise error 380.
    qint64 limit() const { return limit_; }
    void setLimit(qint64 bytes);
    // Points the log at path and deletes an earlier file there (and its older generation),
    // so each trace starts afresh. Raises the classic file error when the old file cannot be
    // deleted.
    void restart(const QString& path);
    // Appends line + CR LF; raises the classic file error when the file cannot be written.
    void append(const QString& line);

    // Milliseconds a line may wait in memory before it is written; 0 (default) writes each
    // line at once. Lines wait at most that long: a timer of the calling thread's event loop
    // writes them (without an event loop, the next line after three quarters of that time
    // does), and so does flush(). Negative values raise error 380. Changing it writes what
    // waits.
    int flushInterval() const { return flushInterval_; }
    void setFlushInterval(int milliseconds);
    // Writes the lines that wait, in one append; raises the classic file error.
    void flush();

private:
    void rotate();
    void flushLater();

    std::shared_ptr<TraceFile> file_;
    std::unique_ptr<QTimer> timer_;
    int flushInterval_ = 0;
    QByteArray encodedPath_;
    QByteArray encodedOlderPath_;
    qint64 limit_ = defaultLimit;
    qint64 written_ = 0; // bytes in the current file since restart() or rotate()
};

} // namespace trapwell::core
