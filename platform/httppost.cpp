#include "platform/httppost.h"

#include "platform/httpget.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace platform {

namespace {

std::once_flag curlInitialised;

size_t onBody(char* data, size_t size, size_t count, void* user) {
    static_cast<HttpPostResult*>(user)->body.append(data, qsizetype(size * count));
    return size * count;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* result = static_cast<HttpPostResult*>(user);
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
    return size * count;
}

// curl calls this at least once a second while a transfer runs; non-zero aborts it.
int onProgress(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

} // namespace

HttpPostResult httpPost(const QByteArray& url, const QList<QByteArray>& headers,
                        const QByteArray& body, const std::atomic<bool>* cancel) {
    std::call_once(curlInitialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    HttpPostResult result;
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(),
                                                                     &curl_easy_cleanup);
    if (!handle)
        return result;
    curl_slist* list = nullptr;
    for (const QByteArray& header : headers)
        list = curl_slist_append(list, header.constData());
    // curl would otherwise wait for a "100 Continue" before sending a larger body.
    list = curl_slist_append(list, "Expect:");
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(
        list, &curl_slist_free_all);

    CURL* h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.constData());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList.get());
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    const HttpLimits& limits = HttpLimits::current();
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connect().count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(limits.total().count()));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
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
