#include "platform/shell.h"

#include "platform/classicerrors.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {

namespace {
class DesktopShell final : public Shell {
public:
    int open(const QUrl& url) override {
        return QDesktopServices::openUrl(url) ? shell::success : shell::noAssociation;
    }

    // Qt starts xdg-open and forgets it, so an xdg-open that finds no program for the file
    // would count as success: it is run here and its exit status read. Outside a desktop it
    // may run the program itself and end only when that does. Without xdg-open, Qt's other
    // openers are tried.
    void openFile(const QString& path, std::function<void()> noProgram) override {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return Shell::openFile(path, std::move(noProgram));
        // An opener still running when the program ends, whose own program is open, is left
        // to run: the program ends at once (programend.h).
        auto* process = new QProcess(QCoreApplication::instance());
        process->setProgram(opener);
        process->setArguments({path});
        process->setStandardInputFile(QProcess::nullDevice());
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        QObject::connect(process, &QProcess::finished, process,
                         [process, noProgram](int code, QProcess::ExitStatus status) {
                             process->deleteLater();
                             if (status == QProcess::NormalExit && code != 0)
                                 noProgram();
                         });
        QObject::connect(process, &QProcess::errorOccurred, process,
                         [process, noProgram](QProcess::ProcessError error) {
                             if (error != QProcess::FailedToStart)
                                 return;
                             process->deleteLater();
                             noProgram();
                         });
        process->start();
    }
};
} // namespace

void Shell::openFile(const QString& path, std::function<void()> noProgram) {
    if (open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())) != shell::success)
        noProgram();
}

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
