#pragma once

#include <QByteArray>

#include <chrono>

namespace platform {

// One synchronous HTTP GET, standing in for the Windows internet services: direct
// connection (proxy settings of the environment are ignored), redirects followed, the whole
// answer read. It runs on the caller's thread, so connect and total time are bounded.

struct HttpGetResult {
    // A request could be made and an answer began: false for no connection, an unknown
    // host, a malformed URL or one without a scheme, or no answer in time.
    bool opened = false;
    // The final answer's status (after redirects), or the FTP reply code; 0 without one.
    long status = 0;
    // The final answer's body, as far as it arrived before any failure.
    QByteArray body;
};

HttpGetResult httpGet(const QByteArray& url, const QByteArray& userAgent = "vb wininet");

struct HttpLimits {
    std::chrono::milliseconds connect{10'000};
    std::chrono::milliseconds total{30'000};
};

// The limits every httpGet uses.
HttpLimits httpLimits();

// Tests shorten the limits until the guard is destroyed.
class HttpLimitsOverride {
public:
    explicit HttpLimitsOverride(HttpLimits limits);
    ~HttpLimitsOverride();
    HttpLimitsOverride(const HttpLimitsOverride&) = delete;
    HttpLimitsOverride& operator=(const HttpLimitsOverride&) = delete;

private:
    HttpLimits previous_;
};

} // namespace platform
