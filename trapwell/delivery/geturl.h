#pragma once

#include <QString>
#include <QStringList>

namespace trapwell::delivery {

// Module GetUrl: posting an error report to a web address as the query of an HTTP GET.
// A failure to send raises no error: it becomes the returned text.

// Requests address + "?" + name=value& for each pair of list (names at even indexes), the
// names and values encoded by UrlEncode; the final "&" stays. The address is used as it
// is. Returns the server's answer, whatever its status, or a "Failed sending: ..." text.
// Raises error 6 for more than 127 pairs, the limit of its 8-bit pair counter.
QString PostToUrl(QString& url, QStringList& list);

// The address PostToUrl requests for list: url + "?" + the encoded pairs, each ended by "&".
QString postingUrl(const QString& url, const QStringList& list);

// Letters and digits stay, a space becomes "+", anything else "%" and its UTF-16 code in
// upper-case hex, at least two digits ("%26", "%0A", "%20AC"). A non-ASCII letter whose
// upper case is an ASCII letter ("ı", "ſ") goes as its percent-encoded UTF-8 bytes ("%C4%B1").
QString UrlEncode(const QString& text);

// The answer to a GET of url, read to its end, or the connection failure text.
QString OpenUrl(QString& url);

} // namespace trapwell::delivery
