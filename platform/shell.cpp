#include "platform/shell.h"

#include "platform/classicerrors.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace platform {

namespace {
ShellRecorder* activeRecorder = nullptr;
} // namespace

int shellOpen(const QUrl& url) {
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return shell::fileNotFound;
    if (activeRecorder) {
        activeRecorder->opened_.append(url);
        return activeRecorder->answer_ ? activeRecorder->answer_(url) : shell::success;
    }
    return QDesktopServices::openUrl(url) ? shell::success : shell::noAssociation;
}

void openInTextEditor(const QString& path) {
    if (shellOpen(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())) != shell::success)
        raiseError(err::fileNotFound);
}

ShellRecorder::ShellRecorder(std::function<int(const QUrl&)> answer)
    : answer_(std::move(answer)), previous_(activeRecorder) {
    activeRecorder = this;
}

ShellRecorder::~ShellRecorder() {
    activeRecorder = previous_;
}

} // namespace platform
