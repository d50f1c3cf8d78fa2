#include "wordimport/delimitedtext.h"

#include <QStringDecoder>

#include <utility>

namespace veltrano {

std::optional<QList<QStringList>> DelimitedText::split(QStringView text, QChar separator) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool atFieldStart = true;
    const auto endField = [&] {
        record.append(std::exchange(field, {}));
        atFieldStart = true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool quoteFollows = i + 1 < text.size() && text[i + 1] == u'"';
        if (quoted) {
            if (c != u'"') {
                field += c;
            } else if (quoteFollows) {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endField();
            records.append(std::exchange(record, {}));
        } else {
            quoted = c == u'"' && atFieldStart;
            if (!quoted)
                field += c; // a quote inside a field is only text
            atFieldStart = false;
        }
    }
    if (quoted)
        return std::nullopt;
    if (!atFieldStart || !record.isEmpty()) { // the last record needs no line end
        endField();
        records.append(record);
    }
    return records;
}

std::optional<QString> DelimitedText::decodeUtf8(const QByteArray& bytes) {
    if (bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8); // drops a leading byte-order mark
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace veltrano
