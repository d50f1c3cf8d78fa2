#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>

namespace platform {

// One synchronous HTTP POST through libcurl, for deliveries that run on a worker thread:
// direct connection, no redirects (a report is not re-posted elsewhere), bounded by
// HttpLimits (httpget.h). Safe to call from any thread.
struct HttpPostResult {
    // An answer arrived (whatever its status); false for no connection or no answer in time.
    bool answered = false;
    long status = 0;
    // Seconds from a "Retry-After" header given in seconds, -1 without one.
    long retryAfter = -1;
    // The collector protocol's own rate-limit header, when the answer had one.
    QByteArray rateLimits;
    QByteArray body;
};

// headers are complete lines without CR LF ("Content-Type: application/json"). When cancel
// is given and becomes true, the request ends within about a second, unanswered.
HttpPostResult httpPost(const QByteArray& url, const QList<QByteArray>& headers,
                        const QByteArray& body, const std::atomic<bool>* cancel = nullptr);

} // namespace platform
