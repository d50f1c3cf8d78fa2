#pragma once

#include "wordimport/wordlist.h"

#include <QString>

namespace veltrano {

// Anki's packages (.apkg, .colpkg): a zip archive that holds the collection as SQLite, either
// plain (collection.anki2, or collection.anki21 of later versions) or compressed with zstd
// (collection.anki21b, beside a "meta" entry, in packages of recent versions). The newest
// present is read. Recent versions that still add a collection.anki2 for older readers fill
// it with one note asking to update; a package with only that note is refused as such.
//
// The package is refused whole when an entry's name leads out of its folder. Only the
// collection is unpacked (media never are), into a private temporary folder removed before
// returning, and at most maxUnpackedBytes of it, whatever the archive declares.
class AnkiPackage {
public:
    static constexpr qint64 maxUnpackedBytes = 256 * 1024 * 1024;

    static WordList read(const QString& path);
};

} // namespace veltrano
