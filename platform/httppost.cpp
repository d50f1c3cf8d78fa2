#include "platform/httppost.h"

#include "platform/curltransfer.h"

#include <memory>

namespace platform {

namespace {

// curl calls these through C: nothing may be thrown out of them. A failure returns a count
// other than the one given, which makes curl end the transfer as failed. Only the first
// megabyte of an answer is kept; a collector's answer is a few bytes.
size_t onBody(char* data, size_t size, size_t count, void* user) noexcept {
    try {
        CurlTransfer::keep(static_cast<HttpPostResult*>(user)->body, data, size * count);
    } catch (...) {
        return 0;
    }
    return size * count;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) noexcept {
    auto* result = static_cast<HttpPostResult*>(user);
    try {
        const QByteArray line = QByteArray(data, qsizetype(size * count)).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0) {
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            bool ok = false;
            if (name == "retry-after") {
                const long seconds = value.toLong(&ok);
                result->retryAfter = ok && seconds >= 0 ? seconds : -1;
            } else if (name == "x-sentry-rate-limits") {
                result->rateLimits = value;
            }
        }
    } catch (...) {
        return 0;
    }
    return size * count;
}

// curl calls this at least once a second while a transfer runs; non-zero aborts it.
int onProgress(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) noexcept {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

} // namespace

HttpPostResult httpPost(const QByteArray& url, const QList<QByteArray>& headers,
                        const QByteArray& body, const std::atomic<bool>* cancel) {
    HttpPostResult result;
    const CurlTransfer curl("http,https");
    CURL* h = curl.handle();
    if (!h)
        return result;
    curl_slist* list = nullptr;
    for (const QByteArray& header : headers)
        list = curl_slist_append(list, header.constData());
    // curl would otherwise wait for a "100 Continue" before sending a larger body.
    list = curl_slist_append(list, "Expect:");
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(
        list, &curl_slist_free_all);

    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.constData());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList.get());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &result);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &result);
    if (cancel) {
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &onProgress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(cancel));
    }

    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.status);
    result.answered = code == CURLE_OK && result.status != 0;
    return result;
}

} // namespace platform
