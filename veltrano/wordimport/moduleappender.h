#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

namespace veltrano {

struct ImportTarget;

// One module that words are added to: its text as the presentation reads it now (the user's
// copy, else the shipped one, else nothing), the headwords it holds, and the lines added.
// Writes nothing itself: bytes() is what the user's copy is to hold afterwards.
//
// A headword is an entry's text before its first " - " (all of it without one), without
// white space at its ends. Headwords are compared case-sensitively, as the module has them:
// German "Essen" (food) and "essen" (to eat) are different words.
class ModuleAppender {
public:
    // Bounds of what the presentation reads of a module (presentation/loadlistfromfile.h).
    static constexpr int maxEntryLength = 1000;
    static constexpr int maxEntries = 32767;
    static constexpr qint64 maxBytes = 8 * 1024 * 1024;

    enum class Added { Whole, Cut, AlreadyThere };

    ModuleAppender(int number, const ImportTarget& target);

    // Why the module cannot be added to, as a phrase after its name; empty when it can.
    QString problem() const;
    // Adds entry unless its headword is there already. An entry longer than maxEntryLength
    // is kept to its start, as the presentation would cut it, and never inside a character.
    Added add(QString entry);

    int number() const { return number_; }
    int added() const { return added_; }
    QString userPath() const { return userPath_; }
    QByteArray bytes() const { return bytes_; }

private:
    const int number_;
    QString userPath_;
    QByteArray bytes_;
    QSet<QString> headwords_;
    int entries_ = 0;
    int added_ = 0;
    QString problem_;
};

} // namespace veltrano
