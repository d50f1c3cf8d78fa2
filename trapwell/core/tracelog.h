#pragma once

#include <QByteArray>
#include <QString>

namespace trapwell::core {

// The trace log: one procedure name per line, CR LF, in the locale's 8-bit encoding.
// Every append opens, writes and closes the file, so a trace survives a crash of the host.
class TraceLog {
public:
    const QString& path() const { return path_; }
    // Points the log at path and deletes an earlier file there, so each trace starts afresh.
    // Raises the classic file error when the old file cannot be deleted.
    void restart(const QString& path);
    // Appends line + CR LF; raises the classic file error when the file cannot be written.
    void append(const QString& line) const;

private:
    QString path_;
    QByteArray encodedPath_;
};

} // namespace trapwell::core
