#pragma once

#include "wordimport/importtarget.h"

#include <QStringList>
#include <QTextStream>

namespace veltrano {

// The command line's import: "veltrano --import FILE [--module N]", where N is a module
// number (4 is A ... 25 New Words) or "letter" for each word into its letter's module;
// without --module, defaults.module (or defaults.byLetter) holds. arguments are the program's
// as QCoreApplication::arguments() gives them, its own path first. Prints the result's
// message to out and returns 0, or prints why nothing was imported to err and returns 1
// (2 for arguments it does not understand, with how to call it).
int runImportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                     const ImportTarget& defaults);

} // namespace veltrano
