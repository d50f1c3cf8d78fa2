#pragma once

#include "wordimport/wordlist.h"

#include <QString>

namespace veltrano {

// An Anki collection, the SQLite database inside a package: each note's fields (separated by
// U+001F) give its word (the first) and its meaning (the second), as HTML. Notes come in the
// order they were made.
class AnkiCollection {
public:
    // Reads through a connection of its own, removed again before returning; an empty list
    // for a collection without notes, a problem when the database cannot be read.
    static WordList read(const QString& databasePath);
};

} // namespace veltrano
