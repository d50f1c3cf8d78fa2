#include "core/breadcrumbs.h"

#include <time.h>

namespace trapwell::core {

namespace {
// The coarse clock costs a few nanoseconds against a few tens for the precise one, and its
// resolution (a few milliseconds) is enough to order a trail read by people.
std::int64_t nowMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &ts);
    return std::int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}
} // namespace

void Breadcrumbs::entered(const QString& procedure) {
    if (size_ > 0) {
        Entry& last = ring_[(next_ + capacity - 1) % capacity];
        if (last.procedure == procedure) {
            ++last.repeats;
            last.msSinceEpoch = nowMs();
            return;
        }
    }
    Entry& slot = ring_[next_];
    slot.procedure = procedure;
    slot.msSinceEpoch = nowMs();
    slot.repeats = 1;
    next_ = (next_ + 1) % capacity;
    if (size_ < capacity)
        ++size_;
}

std::vector<Breadcrumbs::Entry> Breadcrumbs::entries() const {
    std::vector<Entry> out;
    out.reserve(size_);
    const std::size_t first = (next_ + capacity - size_) % capacity;
    for (std::size_t i = 0; i < size_; ++i)
        out.push_back(ring_[(first + i) % capacity]);
    return out;
}

void Breadcrumbs::clear() {
    for (Entry& e : ring_)
        e = {};
    next_ = size_ = 0;
}

} // namespace trapwell::core
