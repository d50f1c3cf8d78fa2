#pragma once

#include <QString>

namespace veltrano {

// Where module N of a word set (its code, wordsets.h) is read from: the user's own copy made
// for that set, else the set's module beside the program (data-XX/N.txt), else the English one
// (data/N.txt). The user's copies are kept per set, $XDG_DATA_HOME/veltrano/<the set's folder>,
// so words edited while one set is chosen never show while another is. A code of no set
// offered means English.
class ModuleFiles {
public:
    // The user's folder of modules of a set: ~/.local/share/veltrano/data for English,
    // .../data-de for Deutsch. The word importer writes there too.
    static QString userFolder(const QString& setCode);
    // The user's module N of a set, whether it exists or not.
    static QString userPath(int number, const QString& setCode);
    // The same for the set chosen in "Meanings In" now.
    static QString userFolder();
    static QString userPath(int number);
    // The set's folder of modules beside the program (data/, data-de/ ...).
    static QString shippedFolder(const QString& setCode);
    // The copy shipped with the program in the set, or in data/ when that set does not hold
    // the module.
    static QString shippedPath(int number, const QString& setCode);
    // The file the presentation reads.
    static QString path(int number, const QString& setCode);
    // Makes the user's module N of a set unless it exists, as a copy of the shipped one (an
    // empty file when none was shipped), and returns its path. Raises error 75 when it cannot
    // be written.
    static QString makeUserCopy(int number, const QString& setCode);
};

} // namespace veltrano
