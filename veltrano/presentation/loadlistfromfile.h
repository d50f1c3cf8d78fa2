#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

namespace veltrano {

// The most entries a module holds: the entry index is a 16-bit number.
inline constexpr int maxModuleEntries = 32767;
// Bounds that keep a stray file (a huge log, a line without end) from filling memory or
// holding up the window: bytes read from one file, and characters kept of one entry.
inline constexpr qint64 maxModuleBytes = 8 * 1024 * 1024;
inline constexpr int maxEntryLength = 1000;

// The entries of a module file: lines end at CR LF, a lone CR or a lone LF, empty lines are
// skipped, nothing is trimmed, the file's order is kept. Only a regular file is read (a
// folder, FIFO or device gives nothing, without waiting on it); reading stops after
// maxModuleBytes or maxModuleEntries, and a longer entry keeps its first maxEntryLength
// characters. A missing or unreadable file gives what was read before the failure
// (nothing, if it did not open).
QStringList readModuleEntries(const QString& path);

// Replaces the items of list with the entries of the file at path, unless it holds them
// already. Reports nothing.
void LoadListFromFile(const QString& path, QListWidget* list);

} // namespace veltrano
