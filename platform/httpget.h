#pragma once

#include "platform/service.h"

#include <QByteArray>

#include <chrono>

namespace platform {

// One synchronous HTTP GET, standing in for the Windows internet services: direct
// connection (proxy settings of the environment are ignored), redirects followed, the whole
// answer read. It runs on the caller's thread, so connect and total time are bounded, and
// only the first megabyte of an answer is kept. Never throws.

struct HttpGetResult {
    // A request could be made and an answer began: false for no connection, an unknown
    // host, a malformed URL or one without a scheme, or no answer in time.
    bool opened = false;
    // The final answer's status (after redirects), or the FTP reply code; 0 without one.
    long status = 0;
    // The final answer's body, as far as it arrived before any failure, at most 1 MB. An
    // answer that was longer and then broke off (one without end) counts as not opened.
    QByteArray body;
};

HttpGetResult httpGet(const QByteArray& url, const QByteArray& userAgent = "vb wininet") noexcept;

// How long one request may take to connect and in all. Each module has its own
// (service.h); tests shorten the limits with a fake.
class HttpLimits : public Service<HttpLimits> {
public:
    virtual ~HttpLimits() = default;
    virtual std::chrono::milliseconds connect() const { return std::chrono::seconds(10); }
    virtual std::chrono::milliseconds total() const { return std::chrono::seconds(30); }
    static HttpLimits& production();
};

} // namespace platform
