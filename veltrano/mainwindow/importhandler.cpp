#include "mainwindow/importhandler.h"

#include "presentation/modulefiles.h"
#include "presentation/options.h"
#include "tracing/traced.h"
#include "wordimport/importcommand.h"
#include "wordimport/importtarget.h"
#include "wordimport/importwords.h"

#include "platform/messagebox.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace veltrano {

namespace {

const QString title = QStringLiteral("Import Words");

// The choices of where the words go: New Words first, as the command line's default.
QStringList destinations() {
    return {QStringLiteral("New Words"), QStringLiteral("Each word into its letter's module")};
}

} // namespace

ImportHandler::Questions ImportHandler::Questions::dialogs() {
    return {[](QWidget* parent) {
                return QFileDialog::getOpenFileName(
                    parent, title, QDir::homePath(),
                    QStringLiteral("Word files (*.apkg *.colpkg *.txt *.csv *.tsv);;"
                                   "Anki packages (*.apkg *.colpkg);;Anki text export (*.txt);;"
                                   "Spreadsheet (*.csv *.tsv)"));
            },
            [](QWidget* parent) -> std::optional<bool> {
                bool chosen = false;
                const QString where =
                    QInputDialog::getItem(parent, title, QStringLiteral("Put the words into:"),
                                          destinations(), 0, false, &chosen);
                if (!chosen)
                    return std::nullopt;
                return where != destinations().first();
            }};
}

ImportHandler::ImportHandler(QWidget* parent, Questions questions)
    : QObject(parent), parent_(parent), questions_(std::move(questions)) {
}

ImportTarget ImportHandler::chosenSetTarget() {
    const QString set = Options::meaningsIn();
    ImportTarget target;
    target.userFolder = ModuleFiles::userFolder(set);
    target.shippedFolder = ModuleFiles::shippedFolder(set);
    return target;
}

void ImportHandler::mImport_Click() {
    Traced proc(u"Form1.mImport_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        const QString file = questions_.file(parent_);
        if (file.isEmpty())
            return;
        at(20);
        const std::optional<bool> byLetter = questions_.byLetter(parent_);
        if (!byLetter)
            return;
        at(30);
        ImportTarget target = chosenSetTarget();
        target.byLetter = *byLetter;
        const ImportResult result = importWords(file, target);
        at(40);
        // The next entry is read from the module's file again, so nothing else needs telling.
        platform::MsgBox(result.message,
                         result.ok ? platform::mb::Information : platform::mb::Exclamation, title);
    });
}

bool ImportHandler::isImportCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--import") == 0)
            return true;
    return false;
}

int ImportHandler::runCommand(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runImportCommand(arguments, out, err, chosenSetTarget());
}

} // namespace veltrano
