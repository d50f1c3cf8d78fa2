#pragma once

#include "core/collectorreport.h"
#include "delivery/outbox.h"

#include <QByteArray>
#include <QJsonObject>

#include <optional>

namespace trapwell::delivery {

// A report for the report address, in the form its receiver takes: an error collector's
// envelope (the open collector protocol: https://KEY@HOST/PROJECT) or, for any other http(s)
// URL, the four report sections as one JSON document.
class CollectorEvent {
public:
    // The parts of a collector's DSN that sending needs; none for a plain URL.
    struct Dsn {
        QByteArray publicKey;
        QByteArray envelopeUrl; // scheme://host[:port][/path]/api/PROJECT/envelope/
        QByteArray text;        // the DSN as given, for the envelope's header
    };
    static std::optional<Dsn> parseDsn(const QString& address);

    // An event is cut to at most this many bytes of JSON before compression: first the oldest
    // breadcrumbs go, then long texts are shortened, then the outermost frames.
    static constexpr qsizetype defaultEventLimit = 200 * 1024;

    // The collector's event for report (JSON object).
    static QJsonObject event(const core::CollectorReport& report, const QByteArray& eventId);
    // The event, serialised within limit bytes.
    static QByteArray boundedEvent(const core::CollectorReport& report, const QByteArray& eventId,
                                   qsizetype limit = defaultEventLimit);
    // The message that delivers report to its address: a gzip-compressed envelope POST for a
    // DSN, a JSON POST otherwise.
    static OutgoingMessage message(const core::CollectorReport& report,
                                   qsizetype limit = defaultEventLimit);
};

} // namespace trapwell::delivery
