#pragma once

#include "platform/service.h"

#include <QString>
#include <QUrl>

#include <functional>

namespace platform {

// Handing documents and addresses to the desktop, with the classic shell's answers.
namespace shell {
inline constexpr int success = 42;       // anything above 32 meant success
inline constexpr int fileNotFound = 2;   // a local file that does not exist
inline constexpr int noAssociation = 31; // nothing could open it
} // namespace shell

// The desktop's handlers for addresses, or a test's recorder. Each module has its own
// (service.h).
class Shell : public Service<Shell> {
public:
    virtual ~Shell() = default;
    // Opens an address that is not a missing local file; answers with a shell:: number.
    virtual int open(const QUrl& url) = 0;
    // Opens an existing local file with the desktop's program for its type and calls
    // noProgram, at once or later from the event loop, when nothing could open it. This one
    // answers through open(); the desktop's own also waits for its opener to fail.
    virtual void openFile(const QString& path, std::function<void()> noProgram);
    static Shell& production();
};

// Opens a web, mail or file address with the desktop's handler for it.
int shellOpen(const QUrl& url);
// Opens a text file in the desktop's plain-text editor; the path is one argument, never a
// command line. Raises error 53 when the file is missing or nothing can open it.
void openInTextEditor(const QString& path);

} // namespace platform
