#include "delivery/outboxworker.h"

#include "platform/clock.h"
#include "platform/filedescriptor.h"
#include "platform/httpget.h"
#include "platform/httppost.h"
#include "platform/smtpsend.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trapwell::delivery {

namespace {

using Clock = std::chrono::steady_clock;

std::mutex sharedMutex;
std::weak_ptr<OutboxWorker> sharedWorker;

Attempt fromHttpStatus(bool answered, long status, long retryAfter) {
    if (!answered)
        return {};
    if (status >= 200 && status < 300)
        return {Attempt::Delivered};
    if (status == 429)
        return {Attempt::RateLimited, std::chrono::seconds(retryAfter >= 0 ? retryAfter : 60)};
    if (status >= 400 && status < 500)
        return {Attempt::Refused};
    return {};
}

// Holds an exclusive lock on a kept report while it is sent, so two processes never send
// the same one; false when another holds it or it is gone already.
class ReportLock {
public:
    explicit ReportLock(const QString& path)
        : path_(QFile::encodeName(path)), fd_(::open(path_.constData(), O_RDONLY | O_CLOEXEC)) {}
    bool acquired() const {
        if (!fd_.valid() || ::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0)
            return false;
        // Removed (and perhaps replaced) between our open and our lock: not ours any more.
        struct stat held {
        }, named{};
        return ::fstat(fd_.get(), &held) == 0 && ::stat(path_.constData(), &named) == 0 &&
               held.st_ino == named.st_ino && held.st_dev == named.st_dev;
    }
    void removeFile() const { ::unlink(path_.constData()); }

private:
    QByteArray path_;
    platform::FileDescriptor fd_;
};

} // namespace

Attempt attemptDelivery(const OutgoingMessage& m, const std::atomic<bool>* cancel) {
    switch (m.kind) {
    case OutgoingMessage::Kind::HttpGet: {
        const platform::HttpGetResult r = platform::httpGet(m.target, "vb wininet");
        return fromHttpStatus(r.opened, r.status, -1);
    }
    case OutgoingMessage::Kind::HttpPost: {
        const platform::HttpPostResult r = platform::httpPost(m.target, m.headers, m.body, cancel);
        Attempt a = fromHttpStatus(r.answered, r.status, r.retryAfter);
        // The collector may limit us in a 200 as well; its header names the seconds first.
        if (!r.rateLimits.isEmpty() && a.outcome != Attempt::RateLimited) {
            bool ok = false;
            const long seconds = r.rateLimits.split(':').first().toLong(&ok);
            if (ok && seconds > 0 && a.outcome == Attempt::Delivered)
                return {Attempt::Delivered, std::chrono::seconds(seconds)};
        }
        return a;
    }
    case OutgoingMessage::Kind::Smtp:
        return {platform::smtpSend(m.target, m.port, m.from, m.to, m.body) ? Attempt::Delivered
                                                                           : Attempt::Failed};
    }
    return {};
}

OutboxSchedule& OutboxSchedule::production() {
    static OutboxSchedule defaults;
    return defaults;
}

std::shared_ptr<OutboxWorker> OutboxWorker::acquire(Outbox outbox) {
    const std::lock_guard lock(sharedMutex);
    std::shared_ptr<OutboxWorker> worker = sharedWorker.lock();
    if (!worker) {
        worker = std::make_shared<OutboxWorker>(std::move(outbox));
        sharedWorker = worker;
    }
    return worker;
}

OutboxWorker::OutboxWorker(Outbox outbox) : outbox_(std::move(outbox)) {
    thread_ = std::thread([this] { run(); });
}

OutboxWorker::~OutboxWorker() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void OutboxWorker::send(OutgoingMessage message, bool keep) {
    {
        const std::lock_guard lock(mutex_);
        queue_.emplace_back(std::move(message), keep);
    }
    wake_.notify_all();
}

void OutboxWorker::keep(const OutgoingMessage& message) {
    outbox_.store(message, QDateTime::currentDateTime());
    {
        const std::lock_guard lock(mutex_);
        retrySoon_ = true;
    }
    wake_.notify_all();
}

void OutboxWorker::setRetrying(bool on) {
    {
        const std::lock_guard lock(mutex_);
        retrying_ = on;
        retrySoon_ = on;
    }
    wake_.notify_all();
}

std::chrono::seconds OutboxWorker::rateLimitLeft() const {
    const std::lock_guard lock(mutex_);
    const auto left = limitedUntil_ - Clock::now();
    return left > Clock::duration::zero() ? std::chrono::ceil<std::chrono::seconds>(left)
                                          : std::chrono::seconds(0);
}

QDateTime OutboxWorker::limitEnd(const OutgoingMessage& message) const {
    if (message.kind != OutgoingMessage::Kind::HttpPost)
        return {};
    const std::lock_guard lock(mutex_);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(limitedUntil_ - Clock::now());
    return left.count() > 0 ? platform::Clock::current().now().addMSecs(left.count()) : QDateTime();
}

void OutboxWorker::holdUntil(const QDateTime& notBefore) {
    // No longer than a report is kept, whatever a damaged file says.
    const qint64 left = std::min(platform::Clock::current().now().msecsTo(notBefore),
                                 qint64(30) * 24 * 3600 * 1000);
    const std::lock_guard lock(mutex_);
    limitedUntil_ = std::max(limitedUntil_, Clock::now() + std::chrono::milliseconds(left));
}

Attempt OutboxWorker::deliver(const OutgoingMessage& message) {
    const bool collector = message.kind == OutgoingMessage::Kind::HttpPost;
    if (collector) {
        const std::lock_guard lock(mutex_);
        if (Clock::now() < limitedUntil_)
            return {Attempt::RateLimited};
    }
    const Attempt a = attemptDelivery(message, &stopping_);
    if (collector && a.retryAfter.count() > 0) {
        const std::lock_guard lock(mutex_);
        limitedUntil_ = Clock::now() + a.retryAfter;
    }
    return a;
}

bool OutboxWorker::retryPass() {
    bool allDelivered = true;
    for (const QString& path : outbox_.pending()) {
        {
            const std::lock_guard lock(mutex_);
            if (stop_)
                return false;
        }
        const ReportLock report(path);
        if (!report.acquired())
            continue;
        std::optional<OutgoingMessage> message = Outbox::read(path);
        if (!message) {
            report.removeFile(); // unreadable: it would never go
            continue;
        }
        // A limit the collector set before a restart holds this run's reports back too.
        if (message->notBefore.isValid() && message->notBefore > platform::Clock::current().now()) {
            holdUntil(message->notBefore);
            allDelivered = false;
            continue;
        }
        const Attempt a = deliver(*message);
        if (a.outcome == Attempt::Delivered || a.outcome == Attempt::Refused) {
            report.removeFile();
            continue;
        }
        allDelivered = false;
        if (a.outcome == Attempt::RateLimited && a.retryAfter.count() > 0) {
            message->notBefore = limitEnd(*message);
            Outbox::replace(path, *message);
        }
    }
    return allDelivered;
}

void OutboxWorker::run() {
    const OutboxSchedule& schedule = OutboxSchedule::current();
    auto backoff = schedule.firstRetry();
    auto nextRetry = Clock::now();
    std::unique_lock lock(mutex_);
    while (!stop_) {
        while (!queue_.empty() && !stop_) {
            auto [message, keep] = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            const Attempt a = deliver(message);
            if (a.outcome == Attempt::RateLimited)
                message.notBefore = limitEnd(message);
            if (keep && (a.outcome == Attempt::Failed || a.outcome == Attempt::RateLimited))
                outbox_.store(message, QDateTime::currentDateTime());
            lock.lock();
        }
        if (stop_)
            break;
        if (retrying_ && (retrySoon_ || Clock::now() >= nextRetry)) {
            retrySoon_ = false;
            lock.unlock();
            const bool done = retryPass();
            lock.lock();
            backoff = done ? schedule.firstRetry() : std::min(backoff * 2, schedule.longestWait());
            // Nothing left: look again at the longest interval (another process may keep some).
            nextRetry = Clock::now() + (done ? schedule.longestWait() : backoff);
            // A rate limit that ends sooner than that is worth a pass of its own.
            if (!done && limitedUntil_ > Clock::now() && limitedUntil_ < nextRetry)
                nextRetry = limitedUntil_;
        }
        wake_.wait_until(lock, retrying_ ? nextRetry : Clock::now() + std::chrono::hours(24),
                         [&] { return stop_ || !queue_.empty() || (retrying_ && retrySoon_); });
    }
}

} // namespace trapwell::delivery
