#include "platform/curltransfer.h"

#include "platform/httpget.h"

#include <algorithm>
#include <mutex>

namespace platform {

namespace {
std::once_flag curlInitialised;
} // namespace

CurlTransfer::CurlTransfer(const char* protocols) : handle_(nullptr, &curl_easy_cleanup) {
    std::call_once(curlInitialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    handle_.reset(curl_easy_init());
    CURL* h = handle_.get();
    if (!h)
        return;
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, protocols);
    const HttpLimits& limits = HttpLimits::current();
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connect().count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(limits.total().count()));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
}

bool CurlTransfer::keep(QByteArray& body, const char* data, size_t bytes) {
    const qsizetype room = maxKept - body.size();
    if (room > 0)
        body.append(data, std::min(room, qsizetype(bytes)));
    return qsizetype(bytes) <= room;
}

} // namespace platform
