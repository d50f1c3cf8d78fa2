#pragma once

#include <QByteArray>

namespace platform {

// Hands a finished message to an SMTP server through libcurl, for a worker thread that
// retries mail the user's dialogue could not deliver. data is the message after DATA
// (headers, empty line, body), lines ended by CR LF, dot-stuffed as the dialogue sends it.
// True when the server accepted it. Bounded by HttpLimits (httpget.h).
bool smtpSend(const QByteArray& server, quint16 port, const QByteArray& from, const QByteArray& to,
              const QByteArray& data);

} // namespace platform
