#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace veltrano {

struct ImportTarget;

// "Import Words…": a learner's Anki package, Anki text export or CSV/TSV file appended to their
// own modules of the set of meanings chosen now, from the menu or from the command line
// ("veltrano --import FILE [--module N|letter]").
class ImportHandler : public QObject {
    Q_OBJECT

public:
    // What the user is asked: the file (empty when they cancel), then whether its words go
    // each into its letter's module (true), into New Words (false), or nowhere (cancelled).
    struct Questions {
        std::function<QString(QWidget*)> file;
        std::function<std::optional<bool>(QWidget*)> byLetter;
        static Questions dialogs();
    };

    explicit ImportHandler(QWidget* parent, Questions questions = Questions::dialogs());

    // Asks for the file and where its words go, imports them and says how it went.
    void mImport_Click();

    // True when the command line asks for an import, which runs without a window.
    static bool isImportCommand(int argc, char** argv);
    // Runs the command line's import; the program's exit status.
    static int runCommand(const QStringList& arguments);

private:
    // The user's and the shipped modules of the set chosen in "Meanings In".
    static ImportTarget chosenSetTarget();

    QWidget* parent_;
    Questions questions_;
};

} // namespace veltrano
