#pragma once

#include <QString>

namespace veltrano {

// Where module N is read from: the user's own copy in $XDG_DATA_HOME/veltrano/data when it
// exists, else the chosen word set beside the program (data-XX/N.txt), else data/N.txt
// beside the program. Nothing here writes.
class ModuleFiles {
public:
    // The user's folder of modules (~/.local/share/veltrano/data by default).
    static QString userFolder();
    static QString userPath(int number);
    // The copy shipped with the program in the set with the given code (see wordsets.h),
    // or in data/ when that set does not hold the module.
    static QString shippedPath(int number, const QString& setCode);
    // The file the presentation reads.
    static QString path(int number, const QString& setCode);
};

} // namespace veltrano
