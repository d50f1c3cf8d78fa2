#pragma once

#include "core/parameter.h"

#include <QString>
#include <QVariant>

#include <vector>

namespace trapwell::core {

// The parameter list of one procedure on the stack, in the order of adding.
class Procedures {
public:
    void Add(const QString& sParam, const QString& sType, const QVariant& vVal);
    // The listing: CR LF, then per parameter its heading ("1st Param:"), name, type and
    // value lines, blocks separated by an empty line. A value that has no text shows
    // "-----"; any other failure gives an empty listing.
    QVariant ReadParams() const;

    int count() const { return int(params_.size()); }

    // Name, type and value text of each parameter, as the listing shows them; a value without
    // text reads "-----".
    struct Entry {
        QString name, type, value;
    };
    std::vector<Entry> entries() const;

    // "st", "nd", "rd" or "th" for the decimal number i.
    static QString ordinalSuffix(int i);

private:
    std::vector<Parameter> params_;
};

} // namespace trapwell::core
