#pragma once

#include <QList>
#include <QString>

namespace veltrano {

// What an import did. On failure nothing was written and message says why, naming the file.
struct ImportResult {
    bool ok = false;
    int imported = 0;
    int alreadyThere = 0; // the headword was in the module already, or earlier in the file
    int empty = 0;        // no word or no meaning left once markup was taken away
    int cut = 0;          // imported, but kept to the first 1,000 characters as Veltrano reads
    QList<int> modules;   // the modules written, in ascending order
    // One sentence for the user, e.g. "3 words imported into New Words; 1 skipped (empty)."
    QString message;
};

} // namespace veltrano
