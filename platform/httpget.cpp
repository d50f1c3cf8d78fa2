#include "platform/httpget.h"

#include "platform/curltransfer.h"

#include <memory>

namespace platform {

namespace {

constexpr long maxRedirects = 20;

struct Transfer {
    QByteArray body;
    bool headersComplete = false;
    bool cutShort = false;
};

// curl calls these through C: nothing may be thrown out of them. A failure returns a count
// other than the one given, which makes curl end the transfer as failed.
size_t onBody(char* data, size_t size, size_t count, void* user) noexcept {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    try {
        if (!CurlTransfer::keep(transfer->body, data, bytes))
            transfer->cutShort = true;
    } catch (...) {
        return 0;
    }
    return bytes;
}

// Only the final answer's body counts: each status line starts a new answer (a redirect,
// an interim 1xx), so what came before it is dropped.
size_t onHeader(char* data, size_t size, size_t count, void* user) noexcept {
    auto* transfer = static_cast<Transfer*>(user);
    const QByteArrayView line(data, qsizetype(size * count));
    if (line.startsWith("HTTP/")) {
        transfer->headersComplete = false;
        transfer->cutShort = false;
        transfer->body.clear();
    } else if (line == "\r\n" || line == "\n") {
        transfer->headersComplete = true;
    }
    return size * count;
}

bool isRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The internet services refuse an address without a scheme; curl would guess "http".
bool hasScheme(const QByteArray& url) {
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), &curl_url_cleanup);
    return parsed && curl_url_set(parsed.get(), CURLUPART_URL, url.constData(), 0) == CURLUE_OK;
}

HttpGetResult perform(const QByteArray& url, const QByteArray& userAgent) {
    HttpGetResult result;
    const CurlTransfer curl("http,https,ftp");
    CURL* h = curl.handle();
    if (!h || !hasScheme(url))
        return result;

    Transfer transfer;
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, userAgent.constData());
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, maxRedirects);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);

    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.status);
    // A transfer that breaks off after its final answer began still counts as opened, with
    // what was read so far; one that broke off before it, or while following a redirect,
    // never opened.
    // An answer that broke off after more than could be kept (one that never ends) is no
    // answer: its first megabyte is noise, not the server's message.
    result.opened = code == CURLE_OK || (!transfer.body.isEmpty() && !transfer.cutShort) ||
                    (transfer.headersComplete && !transfer.cutShort && !isRedirect(result.status));
    if (result.opened)
        result.body = std::move(transfer.body);
    else
        result.status = 0;
    return result;
}

} // namespace

HttpGetResult httpGet(const QByteArray& url, const QByteArray& userAgent) noexcept {
    try {
        return perform(url, userAgent);
    } catch (...) {
        // Out of memory while setting up: no answer, as with no connection.
        return {};
    }
}

HttpLimits& HttpLimits::production() {
    static HttpLimits defaults;
    return defaults;
}

} // namespace platform
