#include "platform/shell.h"

#include "platform/classicerrors.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace platform {

namespace {
class DesktopShell final : public Shell {
public:
    int open(const QUrl& url) override {
        return QDesktopServices::openUrl(url) ? shell::success : shell::noAssociation;
    }
};
} // namespace

Shell& Shell::production() {
    static DesktopShell desktop;
    return desktop;
}

int shellOpen(const QUrl& url) {
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return shell::fileNotFound;
    return Shell::current().open(url);
}

void openInTextEditor(const QString& path) {
    if (shellOpen(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())) != shell::success)
        raiseError(err::fileNotFound);
}

} // namespace platform
