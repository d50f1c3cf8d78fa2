#include "wordimport/textwordfile.h"

#include "wordimport/delimitedtext.h"
#include "wordimport/fieldtext.h"

#include <QSet>

#include <algorithm>

namespace veltrano {

namespace {

QChar namedSeparator(const QString& value) {
    static const std::pair<const char*, char16_t> names[] = {
        {"tab", u'\t'},  {"comma", u','}, {"semicolon", u';'},
        {"space", u' '}, {"pipe", u'|'},  {"colon", u':'},
    };
    for (const auto& [name, separator] : names)
        if (value.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QChar(separator);
    return value.size() == 1 ? value[0] : QChar();
}

QChar guessSeparator(QStringView firstLine, QChar preferred) {
    if (firstLine.contains(preferred))
        return preferred;
    for (const QChar candidate : {u'\t', u';', u','})
        if (firstLine.contains(candidate))
            return candidate;
    return preferred;
}

bool isTitle(const QString& cell, std::initializer_list<const char*> titles) {
    const QString text = FieldText::fromPlain(cell);
    return std::any_of(titles.begin(), titles.end(), [&](const char* title) {
        return text.compare(QLatin1String(title), Qt::CaseInsensitive) == 0;
    });
}

} // namespace

WordList TextWordFile::read(const QByteArray& bytes, QChar preferredSeparator) {
    const std::optional<QString> decoded = DelimitedText::decodeUtf8(bytes);
    if (!decoded)
        return WordList::failure(QStringLiteral("is not a UTF-8 text file"));
    QStringView text = *decoded;

    QChar separator;
    bool html = false;
    QString columnNames;
    QSet<qsizetype> otherColumns; // neither word nor meaning
    while (text.startsWith(u'#')) {
        const qsizetype end = text.indexOf(u'\n');
        const QStringView line = text.left(end).trimmed();
        text = end < 0 ? QStringView() : text.mid(end + 1);
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            continue;
        const QString key = line.mid(1, colon - 1).trimmed().toString().toLower();
        const QString value = line.mid(colon + 1).trimmed().toString();
        if (key == u"separator")
            separator = namedSeparator(value);
        else if (key == u"html")
            html = value.compare(u"true", Qt::CaseInsensitive) == 0;
        else if (key == u"columns")
            columnNames = value;
        else if (key.endsWith(u" column"))
            otherColumns.insert(value.toInt() - 1);
    }
    if (separator.isNull())
        separator = guessSeparator(text.left(text.indexOf(u'\n')), preferredSeparator);

    const std::optional<QList<QStringList>> records = DelimitedText::split(text, separator);
    if (!records)
        return WordList::failure(QStringLiteral("has a quoted field that is never closed"));
    const QStringList names = columnNames.split(separator);
    for (qsizetype i = 0; i < names.size(); ++i)
        if (isTitle(names[i], {"guid", "notetype", "deck", "tags"}))
            otherColumns.insert(i);
    qsizetype wordColumn = 0;
    while (otherColumns.contains(wordColumn))
        ++wordColumn;
    qsizetype meaningColumn = wordColumn + 1;
    while (otherColumns.contains(meaningColumn))
        ++meaningColumn;

    WordList list;
    const auto field = [&](const QStringList& record, qsizetype column) {
        const QString cell = record.value(column);
        return html ? FieldText::fromHtml(cell) : FieldText::fromPlain(cell);
    };
    for (const QStringList& record : *records) {
        if (std::all_of(record.begin(), record.end(),
                        [](const QString& cell) { return cell.trimmed().isEmpty(); }))
            continue; // a blank line
        if (list.entries.isEmpty() && columnNames.isEmpty() &&
            isTitle(record.value(wordColumn), {"word", "words", "term", "front", "headword",
                                               "vocabulary", "expression", "question"}) &&
            isTitle(record.value(meaningColumn), {"meaning", "meanings", "definition", "back",
                                                  "translation", "answer", "gloss"}))
            continue; // the spreadsheet's titles
        list.entries.append({field(record, wordColumn), field(record, meaningColumn)});
    }
    if (list.entries.isEmpty())
        return WordList::failure(QStringLiteral("holds no words"));
    return list;
}

} // namespace veltrano
