#pragma once

#include <QString>

namespace veltrano {

// Turns one field of a deck or word list into the single line of plain text a module entry
// is: cloze markup ({{c1::word::hint}}) gives its word, [sound:...] goes, line breaks and
// runs of white space become one space, control characters go, and the ends are trimmed.
class FieldText {
public:
    static QString fromPlain(QString text);
    // HTML as Anki keeps it: tags go (images with them, block ends become a space), comments,
    // scripts and styles go with their contents, and character references are decoded.
    static QString fromHtml(QString html);
};

} // namespace veltrano
