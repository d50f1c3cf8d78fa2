#pragma once

#include "wordimport/wordlist.h"

#include <QByteArray>

namespace veltrano {

// Word lists kept as text: Anki's text export (.txt) and spreadsheets saved as CSV or TSV.
// UTF-8, with or without a byte-order mark. The word is the first column, the meaning the
// second, unless header lines say otherwise.
//
// Anki's header lines at the top are honoured: "#separator:" (Tab, Comma, Semicolon, Space,
// Pipe, Colon or the character itself), "#html:true" (fields are HTML; otherwise plain text),
// "#columns:" (the columns' names, so the file has no title row) and "#guid column:",
// "#notetype column:", "#deck column:", "#tags column:" (numbered from 1), whose columns, like
// those "#columns:" names GUID, Notetype, Deck or Tags, hold neither word nor meaning. Other
// header lines are skipped. Without "#separator:", the first record's own separator is taken:
// the preferred one when it holds it, else a tab, semicolon or comma, in that order. Without
// "#columns:", a first row of column titles ("Word", "Front", "Term" ... and "Meaning",
// "Back", "Definition" ...) is skipped.
class TextWordFile {
public:
    static WordList read(const QByteArray& bytes, QChar preferredSeparator);
};

} // namespace veltrano
