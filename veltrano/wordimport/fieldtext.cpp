#include "wordimport/fieldtext.h"

#include <QRegularExpression>

#include <utility>

namespace veltrano {

namespace {

using Re = QRegularExpression;
constexpr auto anyCase = Re::CaseInsensitiveOption | Re::DotMatchesEverythingOption;

// The character a named reference stands for: the ones word lists use; others stay as text.
QString named(QStringView name) {
    static const std::pair<const char*, char16_t> table[] = {
        {"amp", u'&'},         {"lt", u'<'},          {"gt", u'>'},         {"quot", u'"'},
        {"apos", u'\''},       {"nbsp", u'\u00A0'},   {"shy", u'\u00AD'},   {"ndash", u'\u2013'},
        {"mdash", u'\u2014'},  {"hellip", u'\u2026'}, {"lsquo", u'\u2018'}, {"rsquo", u'\u2019'},
        {"ldquo", u'\u201C'},  {"rdquo", u'\u201D'},  {"laquo", u'\u00AB'}, {"raquo", u'\u00BB'},
        {"middot", u'\u00B7'}, {"deg", u'\u00B0'},    {"times", u'\u00D7'}, {"euro", u'\u20AC'},
    };
    for (const auto& [entity, character] : table)
        if (name == QLatin1String(entity))
            return QString(QChar(character));
    return {};
}

QString decodeReferences(const QString& text) {
    static const Re reference(
        QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9A-Fa-f]{1,6}|[A-Za-z][A-Za-z0-9]{1,31});"));
    QString out;
    qsizetype done = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        const QStringView body = match.capturedView(1);
        QString character;
        if (body.startsWith(u'#')) {
            const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
            const uint code = body.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
            // A number that is no character (0, a surrogate, past Unicode) reads as U+FFFD.
            const char32_t valid =
                (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
                    ? U'\uFFFD'
                    : char32_t(code);
            character = QString::fromUcs4(&valid, 1);
        } else {
            character = named(body);
            if (character.isNull())
                continue; // unknown: kept as written
        }
        out += QStringView(text).mid(done, match.capturedStart() - done);
        out += character;
        done = match.capturedEnd();
    }
    return out.append(QStringView(text).mid(done));
}

// The steps every field takes, after its HTML (if any) is gone.
QString finish(QString text) {
    // Cloze deletions, innermost first, as nested ones are written around inner ones.
    static const Re cloze(QStringLiteral("\\{\\{c\\d+::((?:(?!\\{\\{|\\}\\}).)*?)"
                                         "(?:::(?:(?!\\{\\{|\\}\\}).)*?)?\\}\\}"),
                          Re::DotMatchesEverythingOption);
    for (qsizetype before = -1; before != text.size();) {
        before = text.size();
        text.replace(cloze, QStringLiteral("\\1"));
    }
    static const Re sound(QStringLiteral("\\[sound:[^\\]]*\\]"));
    text.remove(sound);
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F && c != u'\u00AD')
            kept += c; // a soft hyphen is only a hint where a line may break
        else if (c.isSpace())
            kept += u' ';
    }
    return kept.simplified();
}

} // namespace

QString FieldText::fromPlain(QString text) {
    return finish(std::move(text));
}

QString FieldText::fromHtml(QString html) {
    static const Re comment(QStringLiteral("<!--.*?-->"), anyCase);
    static const Re hidden(QStringLiteral("<(script|style)\\b.*?</\\1\\s*>"), anyCase);
    static const Re block(
        QStringLiteral("</?(br|div|p|li|ul|ol|tr|td|th|h[1-6]|table|blockquote|hr)\\b[^>]*>"),
        anyCase);
    static const Re tag(QStringLiteral("</?[A-Za-z][^>]*>"), anyCase);
    html.remove(comment).remove(hidden).replace(block, QStringLiteral(" ")).remove(tag);
    // Decoded last, so that "&lt;b&gt;" stays the text "<b>".
    return finish(decodeReferences(html));
}

} // namespace veltrano
