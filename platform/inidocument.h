#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace platform {

// An INI file as the user's bytes: every line is kept as it was read, and setting a value
// rewrites only the one line that holds it (or adds one). Reads the files QSettings wrote:
// section and key names %-encoded ("Check%20Box%204"), values with its quoting and escapes,
// "@@" for a leading "@", unquoted commas as a list (read back joined with ", ").
class IniDocument {
public:
    // Parses bytes; a line that is neither blank, a comment (";" or "#"), a section header
    // nor a "key=value" line, or a value whose quote is never closed, makes the document
    // damaged (isDamaged()) without losing that line.
    explicit IniDocument(const QByteArray& bytes = {});

    bool isDamaged() const { return damaged_; }

    // The value of key in section, the last one when the file holds it twice.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets key in section to value, keeping every other byte; returns false when the file
    // already held exactly that value (nothing to write).
    bool setValue(const QString& section, const QString& key, const QString& value);

    QByteArray bytes() const;

    // The encodings QSettings uses, public so tests can pin them.
    static QByteArray escapedKey(const QString& key);
    static QByteArray escapedValue(const QString& value);

private:
    struct Line {
        QByteArray text; // without its line end
        QByteArray end;  // "\n", "\r\n" or empty for a last line without one
        QString section; // the section the line belongs to (for a header: its own)
        QString key;     // set for key lines
        bool header = false;
    };
    // The index of the line that holds key in section, or -1.
    qsizetype find(const QString& section, const QString& key) const;

    QList<Line> lines_;
    bool damaged_ = false;
};

} // namespace platform
