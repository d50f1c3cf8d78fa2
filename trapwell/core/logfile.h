#pragma once

#include <QString>

namespace trapwell::core {

// The component's log files: text in the locale's 8-bit encoding, opened, written and
// closed within one call. Failures raise the classic file errors (52, 61, 75, 76, ...).
// Neither writer follows a symbolic link: a link where a log goes is refused like a file
// that may not be written (error 75), so a planted link cannot redirect our writes.
class LogFile {
public:
    // Appends bytes (text already encoded) to the file, creating it when missing. Only a
    // regular file is written. Bytes the disk takes only part of are taken back, so the file
    // keeps ending with a whole line.
    static void appendBytes(const QByteArray& encodedPath, const char* bytes, qsizetype size);
    // Replaces the file's content with text at once: written beside it and renamed over it,
    // so a failure (a full disk) leaves the previous content whole and a reader never sees
    // part of the new one.
    static void rewrite(const QString& path, const QString& text);
    // Deletes the file; a missing file is not an error.
    static void remove(const QByteArray& encodedPath);
};

} // namespace trapwell::core
