#pragma once

#include <QString>

namespace trapwell::core {

// The component's log files: text in the locale's 8-bit encoding, opened, written and
// closed within one call. Failures raise the classic file errors (52, 61, 75, 76, ...).
class LogFile {
public:
    // Appends text to the file, creating it when missing.
    static void append(const QByteArray& encodedPath, const QString& text);
    // Replaces the file's content with text.
    static void rewrite(const QString& path, const QString& text);
    // Deletes the file; a missing file is not an error.
    static void remove(const QByteArray& encodedPath);
};

} // namespace trapwell::core
