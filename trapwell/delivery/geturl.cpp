#include "delivery/geturl.h"

#include "platform/classicerrors.h"
#include "platform/httpget.h"

#include <cstdint>

namespace trapwell::delivery {

namespace {

constexpr qsizetype maxPairs = 127;

} // namespace

QString PostToUrl(QString& url, QStringList& list) {
    if (url.isEmpty())
        return QStringLiteral("Failed sending: URL property is empty");
    if (list.size() % 2 != 0)
        return QStringLiteral("Failed sending: Quantity of parameter names and quantity of "
                              "corresponding values must be equal");
    if (list.size() / 2 > maxPairs)
        platform::raiseError(platform::err::overflow);

    QString request = postingUrl(url, list);
    return OpenUrl(request);
}

QString postingUrl(const QString& url, const QStringList& list) {
    QString query = QStringLiteral("?");
    for (qsizetype i = 0; i + 1 < list.size(); i += 2)
        query += UrlEncode(list[i]) + u'=' + UrlEncode(list[i + 1]) + u'&';
    return url + query;
}

QString UrlEncode(const QString& text) {
    QString encoded;
    encoded.reserve(text.size() * 3);
    for (const QChar c : text) {
        // Simple case mapping, one character to one, as the classic UCase did.
        const char16_t upper = c.toUpper().unicode();
        if ((upper >= u'0' && upper <= u'9') || (upper >= u'A' && upper <= u'Z')) {
            if (c.unicode() < 0x80) {
                encoded += c;
            } else {
                // A few letters beyond ASCII ("ı", "ſ") have an ASCII upper case; raw they
                // would break the request line, so they travel as their UTF-8 bytes.
                for (const char byte : QString(c).toUtf8())
                    encoded += u'%' + QString::number(std::uint8_t(byte), 16).toUpper();
            }
        } else if (c == u' ')
            encoded += u'+';
        else
            encoded += u'%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
    }
    return encoded;
}

QString OpenUrl(QString& url) {
    const platform::HttpGetResult answer = platform::httpGet(url.toLocal8Bit(), "vb wininet");
    if (!answer.opened)
        return QStringLiteral("Failed sending: Coludn't Connect to Server");
    // Decoded as a whole, so a character split between two reads is not lost.
    return QString::fromLocal8Bit(answer.body);
}

} // namespace trapwell::delivery
