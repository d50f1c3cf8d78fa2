#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace veltrano {

// Text of records and fields as spreadsheets and Anki write them (RFC 4180 with any separator).
class DelimitedText {
public:
    // The records of text: a field that starts with '"' runs to the next lone '"' and may hold
    // separators, line breaks and doubled quotes; outside quotes a record ends at CR LF, LF or
    // CR. A blank line is a record of one empty field. Nothing when a quote is never closed.
    static std::optional<QList<QStringList>> split(QStringView text, QChar separator);
    // The text of UTF-8 bytes without their byte-order mark; nothing when they are not UTF-8
    // or hold a NUL (a binary file).
    static std::optional<QString> decodeUtf8(const QByteArray& bytes);
};

} // namespace veltrano
