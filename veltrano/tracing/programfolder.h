#pragma once

#include <QString>

namespace veltrano {

// The folder that holds the program: its modules lie in data/ there and its logs are written
// there. An installed program's folder is not writable, so its logs go to the per-user data
// folder (~/.local/share/veltrano) instead.
class ProgramFolder {
public:
    static QString path();
    // Where the program's logs go.
    static QString logFolder();

    // Tests put a folder of their own in place of the program's.
    class Override {
    public:
        explicit Override(QString folder);
        ~Override();
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        QString previous_;
    };
};

} // namespace veltrano
