#pragma once

#include "delivery/outbox.h"

#include "platform/service.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace trapwell::delivery {

// How one attempt to deliver a message ended.
struct Attempt {
    enum Outcome {
        Delivered,
        Failed,      // no connection, no answer, a server error: worth trying again
        Refused,     // the receiver will never take it (a 4xx other than 429): dropped
        RateLimited, // 429, or the collector's rate-limit answer: try after retryAfter
    } outcome = Failed;
    std::chrono::seconds retryAfter{0};
};
// cancel, when given and set, ends an HTTP attempt early (as Failed).
Attempt attemptDelivery(const OutgoingMessage& message, const std::atomic<bool>* cancel = nullptr);

// When the worker tries the outbox again: first after firstRetry, then twice as long after
// each pass that left a report undelivered, never longer than longestWait (10 minutes).
// Tests shorten it. Each module has its own (service.h).
class OutboxSchedule : public platform::Service<OutboxSchedule> {
public:
    virtual ~OutboxSchedule() = default;
    virtual std::chrono::milliseconds firstRetry() const { return std::chrono::seconds(30); }
    virtual std::chrono::milliseconds longestWait() const { return std::chrono::minutes(10); }
    static OutboxSchedule& production();
};

// The component's one delivery thread: sends what handlers hand it without blocking their
// thread, keeps what fails in the outbox when asked to, and retries the outbox in the
// background. Shared by every handler of the process; it runs while one of them holds it
// and stops (joining its thread) when the last lets go.
class OutboxWorker {
public:
    // The running worker, started when nobody held it.
    static std::shared_ptr<OutboxWorker> acquire(Outbox outbox = Outbox());
    ~OutboxWorker();

    // Sends message on the worker. One that cannot be delivered goes to the outbox when keep
    // is true and is dropped otherwise.
    void send(OutgoingMessage message, bool keep);
    // Keeps a message the host's thread failed to deliver and retries it soon.
    void keep(const OutgoingMessage& message);
    // Whether the outbox is retried; handlers that keep reports turn it on.
    void setRetrying(bool on);
    // Seconds the collector asked us to wait, counted from its answer; 0 when not limited.
    std::chrono::seconds rateLimitLeft() const;
    const Outbox& outbox() const { return outbox_; }

    explicit OutboxWorker(Outbox outbox);

private:
    void run();
    // One attempt, honouring a rate limit in force; the outcome of that attempt.
    Attempt deliver(const OutgoingMessage& message);
    // Tries every kept report; false when one stayed undelivered.
    bool retryPass();
    // When the rate limit in force lets message go, by the clock that survives a restart; null
    // when it does not hold message back.
    QDateTime limitEnd(const OutgoingMessage& message) const;
    // Holds collector reports back until notBefore, a limit kept from before a restart.
    void holdUntil(const QDateTime& notBefore);

    Outbox outbox_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::pair<OutgoingMessage, bool>> queue_;
    bool stop_ = false;
    // Set with stop_: ends a request in flight, so the last handler's end does not wait for a
    // slow or silent receiver (the message then goes to the outbox, if it was to be kept).
    std::atomic<bool> stopping_{false};
    bool retrying_ = false;
    bool retrySoon_ = true;
    std::chrono::steady_clock::time_point limitedUntil_{};
    std::thread thread_;
};

} // namespace trapwell::delivery
