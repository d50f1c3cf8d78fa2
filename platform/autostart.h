#pragma once

#include <QString>

namespace platform {

// Starting a program when the user logs in: an XDG autostart entry
// $XDG_CONFIG_HOME/autostart/<name>.desktop that runs the given executable.
namespace autostart {

QString entryPath(const QString& name);

// Whether the entry is there, whatever it holds.
bool exists(const QString& name);

// Writes the entry (completely or not at all). Returns false, with the reason in *error,
// when the folder or the file cannot be written.
bool enable(const QString& name, const QString& displayName, const QString& program,
            QString* error);

// Removes the entry if there is one. Returns false, with the reason in *error, when it
// stays.
bool disable(const QString& name, QString* error);

// The Exec= value that runs program without arguments, quoted for the desktop entry format.
QString execValue(const QString& program);

} // namespace autostart

} // namespace platform
