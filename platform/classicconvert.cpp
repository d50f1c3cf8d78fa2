#include "platform/classicconvert.h"

#include "platform/classicerrors.h"

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>
#include <QTime>

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <type_traits>

namespace platform {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

qsizetype skipDigits(QStringView text, qsizetype i) {
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

int hexDigit(QChar c) {
    if (isDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// Hex text keeps the classic width rule: up to four significant digits make an Integer and
// up to eight a Long, both two's complement, so "&HFFFF" is -1 and "&HFFFFFFFF" is -1.
double parseHex(QStringView digits) {
    if (digits.isEmpty())
        raiseError(err::typeMismatch);
    std::uint32_t value = 0;
    int significant = 0;
    for (QChar c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            raiseError(err::typeMismatch);
        if (significant == 0 && digit == 0)
            continue;
        if (++significant > 8)
            raiseError(err::overflow);
        value = value << 4 | std::uint32_t(digit);
    }
    if (significant <= 4)
        return std::int16_t(std::uint16_t(value));
    return std::int32_t(value);
}

// The number in text: blanks around, an optional sign, digits with an optional fraction and
// exponent, '.' as the decimal point whatever the user's locale; or "&H" hex.
double parseNumber(const QString& text) {
    const QStringView t = trimBlanks(text);
    if (t.size() >= 2 && t[0] == u'&' && (t[1] == u'H' || t[1] == u'h'))
        return parseHex(t.sliced(2));

    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    const qsizetype intStart = i;
    i = skipDigits(t, i);
    qsizetype mantissaDigits = i - intStart;
    if (i < t.size() && t[i] == u'.') {
        const qsizetype fracStart = ++i;
        i = skipDigits(t, i);
        mantissaDigits += i - fracStart;
    }
    if (mantissaDigits == 0)
        raiseError(err::typeMismatch);
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        const qsizetype expStart = i;
        i = skipDigits(t, i);
        if (i == expStart)
            raiseError(err::typeMismatch);
    }
    if (i != t.size())
        raiseError(err::typeMismatch);

    // The text is well formed, so a failure here is only range: too large is an overflow,
    // too small underflows to zero as it always did.
    const double value = t.toDouble();
    if (std::isinf(value))
        raiseError(err::overflow);
    return value;
}

double roundHalfToEven(double value) {
    if (std::abs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return std::round(value);
}

template <typename Int> Int toInteger(double value) {
    if (std::isnan(value))
        raiseError(err::overflow);
    const double rounded = roundHalfToEven(value);
    if (rounded < double(std::numeric_limits<Int>::min()) ||
        rounded > double(std::numeric_limits<Int>::max()))
        raiseError(err::overflow);
    return Int(rounded);
}

// The classic default text of a number: 15 significant digits for a double and 7 for a
// single (so 0.1 + 0.2 reads 0.3), a zero before the point of a fraction, and an exponent
// of at least two digits for very large or small magnitudes ("0.5", "1.5E-07", "1E+20").
// A whole number with more digits than the type holds goes to the exponent form
// ("1.234568E+07" for a single): written out, its last digits would be made up.
template <typename Float> QString floatText(Float value) {
    constexpr int significantDigits = std::is_same_v<Float, float> ? 7 : 15;
    if (!std::isfinite(value))
        raiseError(err::overflow);
    if (value == 0)
        return QStringLiteral("0");

    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, significantDigits - 1);
    std::string_view text(buffer, std::size_t(result.ptr - buffer));

    QString out;
    if (text.front() == '-') {
        out += u'-';
        text.remove_prefix(1);
    }
    const std::size_t ePos = text.find('e');
    QString digits;
    for (char c : text.substr(0, ePos))
        if (c != '.')
            digits += QLatin1Char(c);
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    std::string_view expText = text.substr(ePos + 1);
    const bool negativeExp = expText.front() == '-';
    expText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    if (negativeExp)
        exponent = -exponent;

    if (exponent >= significantDigits || exponent < -4) {
        out += digits[0];
        if (digits.size() > 1)
            out += u'.' + digits.mid(1);
        out += negativeExp ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QString::number(std::abs(exponent)).rightJustified(2, u'0');
    } else if (exponent >= 0) {
        const qsizetype intDigits = exponent + 1;
        if (digits.size() <= intDigits) {
            out += digits.leftJustified(intDigits, u'0');
        } else {
            out += digits.left(intDigits) + u'.' + digits.mid(intDigits);
        }
    } else {
        out += QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
    }
    return out;
}

QString objectText(const QVariant& value) {
    const QObject* object = *static_cast<QObject* const*>(value.constData());
    if (!object)
        raiseError(err::objectNotSet);
    const QMetaProperty property = object->metaObject()->userProperty();
    if (!property.isValid())
        raiseError(err::typeMismatch);
    return CStr(property.read(object));
}

} // namespace

std::int16_t CInt(const QString& text) {
    return toInteger<std::int16_t>(parseNumber(text));
}

std::int32_t CLng(const QString& text) {
    return toInteger<std::int32_t>(parseNumber(text));
}

bool CBool(const QString& text) {
    const QStringView t = trimBlanks(text);
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    return parseNumber(text) != 0.0;
}

std::int16_t CInt(double value) {
    return toInteger<std::int16_t>(value);
}

std::int32_t CLng(double value) {
    return toInteger<std::int32_t>(value);
}

QString CStr(const QVariant& value) {
    if (!value.isValid())
        return {};
    // Checked before isNull(), which is also true of a null object pointer: error 91.
    if (value.metaType().flags().testFlag(QMetaType::PointerToQObject))
        return objectText(value);
    if (value.isNull())
        return {};

    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return boolText(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Char:
        return value.toString();
    case QMetaType::Double:
        return floatText(value.toDouble());
    case QMetaType::Float:
        return floatText(value.toFloat());
    case QMetaType::QChar:
        return QString(value.toChar());
    case QMetaType::Char16:
        return QString(QChar(value.value<char16_t>()));
    case QMetaType::Char32: {
        const char32_t c = value.value<char32_t>();
        return QString::fromUcs4(&c, 1);
    }
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return value.toTime().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        // Byte arrays, lists, maps and anything else without a single text of its own.
        raiseError(err::typeMismatch);
    }
}

QString boolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace platform
