#pragma once

#include <QList>
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

// Opens a web, mail or file address with the desktop's handler for it.
int shellOpen(const QUrl& url);

// Opens a text file in the desktop's plain-text editor; the path is one argument, never a
// command line. Raises error 53 when the file is missing or nothing can open it.
void openInTextEditor(const QString& path);

// Tests put a recorder in place of the desktop: it sees every address and answers for it.
class ShellRecorder {
public:
    // answer decides what each open returns; by default success.
    explicit ShellRecorder(std::function<int(const QUrl&)> answer = {});
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    const QList<QUrl>& opened() const { return opened_; }

private:
    friend int shellOpen(const QUrl&);
    QList<QUrl> opened_;
    std::function<int(const QUrl&)> answer_;
    ShellRecorder* previous_;
};

} // namespace platform
