#pragma once

#include "presentation/options.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace veltrano {

// How far the presentation of one module in one set of meanings has got, kept in
// $XDG_STATE_HOME/veltrano/places.json (~/.local/state when that is unset) so that the next
// start, and the next launch, go on from there. In turn, the place is the row shown last: 0
// at the start, so a pass begins with the second entry, as it always has. Shuffled, it is the
// pass's seed and how many of its entries were shown. A place kept for other entries (the
// module was edited), or a state file that is missing or cannot be read, is the start.
class ReadingPlace {
public:
    static ReadingPlace of(int number, const QString& setCode, const QStringList& entries);

    // Moves on to the entry to show next and gives its row; 0 when there are no entries.
    // Shuffled after In Turn begins a new pass. Every new pass comes in an order other than
    // the pass before, and with more than two entries does not begin with the entry that
    // ended it.
    int next(Options::Order order);

    // Writes the place into the state file, which is replaced at once. A place that cannot be
    // written is dropped: the next start goes on from an older one, which is no error.
    void keep() const;

    static QString filePath();

private:
    ReadingPlace() = default;
    void beginPass();

    QString key_;
    QByteArray entries_; // a digest of the entries the place belongs to
    int count_ = 0;
    int inTurn_ = 0;
    bool shuffled_ = false; // the order used last
    bool hasPass_ = false;
    std::uint32_t seed_ = 0;
    int shown_ = 0;
};

} // namespace veltrano
