#pragma once

#include "wordimport/importresult.h"
#include "wordimport/importtarget.h"

#include <QString>

namespace veltrano {

// Appends the words of sourceFile to the user's modules as "word - meaning" lines (UTF-8,
// CR LF), as target says: an Anki package (.apkg, .colpkg), an Anki text export (.txt) or a
// spreadsheet's CSV or TSV (.csv, .tsv), chosen by the file's name. An entry whose headword
// the module holds already (see ModuleAppender), or that lacks a word or a meaning, is
// skipped. A module the user has no copy of starts as a copy of the shipped one.
//
// Each module written is replaced whole, through a temporary file in its own folder that is
// renamed over it; a module that gains nothing is not touched. When the import fails nothing
// is written, and the message names the file and what is wrong with it.
ImportResult importWords(const QString& sourceFile, const ImportTarget& target);

} // namespace veltrano
