#include "platform/inidocument.h"

#include <QStringList>

namespace platform {

namespace {

bool isHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

int hexValue(char16_t c) {
    return c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// "%20" and "%U20AC" decoded, "\" read as "/", as QSettings writes names.
QString unescapedKey(QStringView text) {
    QString key;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\\') {
            key += u'/';
        } else if (c == u'%' && i + 2 < text.size() && text[i + 1] != u'U' &&
                   isHexDigit(text[i + 1].unicode()) && isHexDigit(text[i + 2].unicode())) {
            key += QChar(hexValue(text[i + 1].unicode()) * 16 + hexValue(text[i + 2].unicode()));
            i += 2;
        } else if (c == u'%' && i + 5 < text.size() && text[i + 1] == u'U' &&
                   isHexDigit(text[i + 2].unicode()) && isHexDigit(text[i + 3].unicode()) &&
                   isHexDigit(text[i + 4].unicode()) && isHexDigit(text[i + 5].unicode())) {
            int code = 0;
            for (int d = 2; d <= 5; ++d)
                code = code * 16 + hexValue(text[i + d].unicode());
            key += QChar(char16_t(code));
            i += 5;
        } else {
            key += QChar(c);
        }
    }
    return key;
}

// The section name a header stands for: "%General" is the section "General" (a bare
// [General] holds QSettings' keys without a section, which no caller of ours uses).
QString sectionName(QStringView header) {
    const QStringView name = header.trimmed();
    if (name == QLatin1String("%General"))
        return QStringLiteral("General");
    return unescapedKey(name);
}

// The escape after a backslash at text[i]; advances i past it.
void appendEscape(QStringView text, qsizetype& i, QString& out) {
    if (i + 1 >= text.size())
        return; // a lone backslash at the end of the line: nothing follows
    const char16_t c = text[++i].unicode();
    switch (c) {
    case u'a':
        out += u'\a';
        return;
    case u'b':
        out += u'\b';
        return;
    case u'f':
        out += u'\f';
        return;
    case u'n':
        out += u'\n';
        return;
    case u'r':
        out += u'\r';
        return;
    case u't':
        out += u'\t';
        return;
    case u'v':
        out += u'\v';
        return;
    case u'x': {
        int code = 0;
        int digits = 0;
        while (digits < 4 && i + 1 < text.size() && isHexDigit(text[i + 1].unicode())) {
            code = code * 16 + hexValue(text[++i].unicode());
            ++digits;
        }
        out += QChar(char16_t(code));
        return;
    }
    default:
        if (c >= u'0' && c <= u'7') {
            int code = c - u'0';
            for (int digits = 1;
                 digits < 3 && i + 1 < text.size() && text[i + 1] >= u'0' && text[i + 1] <= u'7';
                 ++digits)
                code = code * 8 + (text[++i].unicode() - u'0');
            out += QChar(char16_t(code));
            return;
        }
        out += QChar(c); // \" \\ \' \? and anything else stand for themselves
    }
}

// A value as QSettings reads it: blanks around unquoted text dropped, quotes and escapes
// resolved, an unquoted ";" starting a comment, unquoted commas separating list items.
// Empty when a quote is never closed.
std::optional<QString> unescapedValue(QStringView text) {
    QStringList items;
    QString item;
    qsizetype kept = 0; // item's length without trailing unquoted blanks
    bool quoted = false;
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i].unicode()))
        ++i;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (quoted) {
            if (c == u'"')
                quoted = false;
            else if (c == u'\\')
                appendEscape(text, i, item);
            else
                item += QChar(c);
            kept = item.size();
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u';') {
            break;
        } else if (c == u',') {
            items.append(item.left(kept));
            item.clear();
            kept = 0;
            while (i + 1 < text.size() && isBlank(text[i + 1].unicode()))
                ++i;
        } else if (c == u'\\') {
            appendEscape(text, i, item);
            kept = item.size();
        } else if (isBlank(c)) {
            if (!item.isEmpty())
                item += QChar(c);
        } else {
            item += QChar(c);
            kept = item.size();
        }
    }
    if (quoted)
        return std::nullopt;
    items.append(item.left(kept));
    QString value = items.join(QStringLiteral(", "));
    // QSettings doubles a leading "@", which otherwise marks a typed value, and writes a text
    // holding a NUL as "@String(...)".
    if (value.startsWith(QStringLiteral("@@")))
        value.remove(0, 1);
    else if (value.startsWith(QStringLiteral("@String(")) && value.endsWith(u')'))
        value = value.mid(8, value.size() - 9);
    return value;
}

} // namespace

IniDocument::IniDocument(const QByteArray& bytes) {
    QString section;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype newline = bytes.indexOf('\n', start);
        Line line;
        if (newline < 0) {
            line.text = bytes.mid(start);
            start = bytes.size();
        } else {
            const bool crlf = newline > start && bytes[newline - 1] == '\r';
            line.text = bytes.mid(start, newline - start - (crlf ? 1 : 0));
            line.end = crlf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
            start = newline + 1;
        }
        // An editor's byte-order mark before the first line is kept but not parsed.
        const bool bom = lines_.isEmpty() && line.text.startsWith("\xEF\xBB\xBF");
        const QString text = QString::fromUtf8(bom ? line.text.mid(3) : line.text);
        const QStringView trimmed = QStringView(text).trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#')) {
            // kept as it is
        } else if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            if (close < 0) {
                damaged_ = true;
            } else {
                section = sectionName(trimmed.mid(1, close - 1));
                line.header = true;
            }
        } else {
            const qsizetype equals = trimmed.indexOf(u'=');
            if (equals < 0 || !unescapedValue(trimmed.mid(equals + 1)))
                damaged_ = true;
            else
                line.key = unescapedKey(trimmed.left(equals).trimmed());
        }
        line.section = section;
        lines_.append(line);
    }
}

qsizetype IniDocument::find(const QString& section, const QString& key) const {
    for (qsizetype i = lines_.size() - 1; i >= 0; --i)
        if (!lines_[i].header && lines_[i].key == key && lines_[i].section == section &&
            !key.isEmpty())
            return i;
    return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const qsizetype at = find(section, key);
    if (at < 0)
        return std::nullopt;
    const QString text = QString::fromUtf8(lines_[at].text);
    const QStringView trimmed = QStringView(text).trimmed();
    return unescapedValue(trimmed.mid(trimmed.indexOf(u'=') + 1));
}

bool IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QByteArray text = escapedKey(key) + '=' + escapedValue(value);
    const qsizetype at = find(section, key);
    if (at >= 0) {
        if (this->value(section, key) == value)
            return false;
        lines_[at].text = text;
        return true;
    }
    // New lines follow the file's own line ends.
    const QByteArray end = !lines_.isEmpty() && lines_.first().end == "\r\n"
                               ? QByteArrayLiteral("\r\n")
                               : QByteArrayLiteral("\n");
    Line line;
    line.text = text;
    line.end = end;
    line.section = section;
    line.key = key;
    // After the last key of the section's last block, or right after its header.
    qsizetype after = -1;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (lines_[i].header && lines_[i].section == section)
            after = i;
        else if (after >= 0 && !lines_[i].key.isEmpty() && lines_[i].section == section &&
                 !lines_[i].header)
            after = i;
    }
    if (after < 0) {
        if (!lines_.isEmpty()) {
            if (lines_.last().end.isEmpty())
                lines_.last().end = end;
            lines_.append(Line{{}, end, {}, {}, false});
        }
        QString name = section;
        Line header;
        header.text = '[' +
                      (name.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0
                           ? '%' + escapedKey(name)
                           : escapedKey(name)) +
                      ']';
        header.end = end;
        header.section = section;
        header.header = true;
        lines_.append(header);
        lines_.append(line);
        return true;
    }
    if (lines_[after].end.isEmpty())
        lines_[after].end = end;
    lines_.insert(after + 1, line);
    return true;
}

QByteArray IniDocument::bytes() const {
    QByteArray out;
    for (const Line& line : lines_)
        out += line.text + line.end;
    return out;
}

QByteArray IniDocument::escapedKey(const QString& key) {
    QByteArray out;
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == u'/') {
            out += '\\';
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                   (c >= u'0' && c <= u'9') || c == u'_' || c == u'-' || c == u'.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        } else {
            out += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
        }
    }
    return out;
}

QByteArray IniDocument::escapedValue(const QString& value) {
    // As QSettings writes a text: a leading "@" doubled (a NUL wraps the text in
    // "@String()" instead), control characters escaped, quotes
    // around a value with ";", "," or "=" or with blanks at either end.
    const QString text = value.contains(QChar::Null)
                             ? QStringLiteral("@String(") + value + u')'
                             : (value.startsWith(u'@') ? u'@' + value : value);
    QByteArray out;
    QString plain; // a run of characters that go out as UTF-8, surrogate pairs intact
    const auto flush = [&] {
        out += plain.toUtf8();
        plain.clear();
    };
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u';' || c == u',' || c == u'=')
            needsQuotes = true;
        if (escapeNextIfDigit && isHexDigit(c)) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextIfDigit = false;
        const char* escape = nullptr;
        switch (c) {
        case u'\0':
            escape = "\\0";
            escapeNextIfDigit = true;
            break;
        case u'\a':
            escape = "\\a";
            break;
        case u'\b':
            escape = "\\b";
            break;
        case u'\f':
            escape = "\\f";
            break;
        case u'\n':
            escape = "\\n";
            break;
        case u'\r':
            escape = "\\r";
            break;
        case u'\t':
            escape = "\\t";
            break;
        case u'\v':
            escape = "\\v";
            break;
        case u'"':
            escape = "\\\"";
            break;
        case u'\\':
            escape = "\\\\";
            break;
        default:
            break;
        }
        if (escape) {
            flush();
            out += escape;
        } else if (c <= 0x1F) {
            flush();
            out += "\\x" + QByteArray::number(c, 16);
            escapeNextIfDigit = true;
        } else {
            plain += qc;
        }
    }
    flush();
    if (needsQuotes || out.startsWith(' ') || out.endsWith(' '))
        out = '"' + out + '"';
    return out;
}

} // namespace platform
