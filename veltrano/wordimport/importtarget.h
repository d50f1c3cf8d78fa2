#pragma once

#include <QString>

namespace veltrano {

// Where imported words go. The caller fills in the folders: the library reads no settings.
struct ImportTarget {
    // Module numbers as the main window shows them: 4 is A ... 24 is X - Z, 25 is New Words.
    static constexpr int firstModule = 4;
    static constexpr int newWords = 25;

    // The user's own modules ($XDG_DATA_HOME/veltrano/data); made when first written to.
    QString userFolder;
    // The modules shipped in the learner's word set: a module the user has no copy of yet
    // starts as a copy of the shipped one, as the presentation would have read it.
    QString shippedFolder;
    // The one module every word goes into, unless byLetter.
    int module = newWords;
    // Each word into the module of its first letter instead (see ModuleLetters).
    bool byLetter = false;
};

} // namespace veltrano
