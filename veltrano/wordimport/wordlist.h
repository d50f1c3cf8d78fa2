#pragma once

#include <QList>
#include <QString>

namespace veltrano {

// A word and its meaning as one source gives them, reduced to one line of plain text.
struct WordEntry {
    QString word;
    QString meaning;
};

// What a reader found in a file: its entries in the file's order, or the problem that kept it
// from reading them (a phrase that follows the file's name: "is not a zip archive").
struct WordList {
    QList<WordEntry> entries;
    QString problem;

    static WordList failure(const QString& problem) { return {{}, problem}; }
    bool failed() const { return !problem.isEmpty(); }
};

} // namespace veltrano
