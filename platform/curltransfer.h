#pragma once

#include <QByteArray>

#include <curl/curl.h>

#include <memory>

namespace platform {

// One libcurl easy handle with the settings every request of ours shares: a direct
// connection (an empty proxy also keeps curl from taking one from http_proxy and the like),
// only the given protocols, the time bounds of HttpLimits, and no signals, which would
// disturb the host's threads. libcurl's global set-up runs once per process, whichever
// request comes first and from whichever thread.
class CurlTransfer {
public:
    explicit CurlTransfer(const char* protocols);

    // Null when libcurl could not make a handle.
    CURL* handle() const { return handle_.get(); }

    // At most this much of an answer's body is kept; the rest is read and dropped, so an
    // endless or huge answer costs neither memory nor more than the time bound.
    static constexpr qsizetype maxKept = 1024 * 1024;

    // Adds what fits of data to body; false when some of it did not fit.
    static bool keep(QByteArray& body, const char* data, size_t bytes);

private:
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle_;
};

} // namespace platform
