#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

namespace veltrano {

// The most entries a module holds: the entry index is a 16-bit number.
inline constexpr int maxModuleEntries = 32767;

// The entries of a module file: lines end at CR LF or a lone CR (a lone LF stays inside its
// entry), empty lines are skipped, nothing is trimmed, the file's order is kept. A missing
// or unreadable file gives what was read before the failure (nothing, if it did not open).
QStringList readModuleEntries(const QString& path);

// Replaces the items of list with the entries of the file at path. Reports nothing.
void LoadListFromFile(const QString& path, QListWidget* list);

} // namespace veltrano
