#include "platform/smtpsend.h"

#include "platform/httpget.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace platform {

namespace {

std::once_flag curlInitialised;

struct Upload {
    const QByteArray* data;
    qsizetype sent = 0;
};

size_t onRead(char* buffer, size_t size, size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const size_t n = std::min(size * count, size_t(upload->data->size() - upload->sent));
    std::memcpy(buffer, upload->data->constData() + upload->sent, n);
    upload->sent += qsizetype(n);
    return n;
}

} // namespace

bool smtpSend(const QByteArray& server, quint16 port, const QByteArray& from, const QByteArray& to,
              const QByteArray& data) {
    std::call_once(curlInitialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(),
                                                                     &curl_easy_cleanup);
    if (!handle)
        return false;
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipients(
        curl_slist_append(nullptr, to.constData()), &curl_slist_free_all);
    const QByteArray url = "smtp://" + server + ':' + QByteArray::number(port);
    // curl doubles leading dots itself: undo the dialogue's doubling so it happens once.
    QByteArray plain = data;
    if (plain.startsWith(".."))
        plain.remove(0, 1);
    plain.replace("\r\n..", "\r\n.");
    Upload upload{&plain};

    CURL* h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, &onRead);
    curl_easy_setopt(h, CURLOPT_READDATA, &upload);
    const HttpLimits& limits = HttpLimits::current();
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connect().count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(limits.total().count()));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    return curl_easy_perform(h) == CURLE_OK;
}

} // namespace platform
