#include "core/breadcrumbs.h"

#include <cstring>
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
// Whether the n characters at a and b are equal, word by word (see copyChars).
bool sameChars(const char16_t* a, const char16_t* b, std::size_t n) {
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint64_t x, y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        if (x != y)
            return false;
    }
    for (; i < n; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// Copies n characters; short names are the rule, and for them a word-wise loop beats the
// string instruction GCC would otherwise emit for a variable-length memcpy.
void copyChars(char16_t* to, const char16_t* from, std::size_t n) {
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, from + i, sizeof word);
        std::memcpy(to + i, &word, sizeof word);
    }
    for (; i < n; ++i)
        to[i] = from[i];
}
} // namespace

void Breadcrumbs::entered(const QString& procedure) noexcept {
    const std::size_t size = std::min<std::size_t>(std::size_t(procedure.size()), longestName);
    const char16_t* chars = reinterpret_cast<const char16_t*>(procedure.constData());
    Slot& newest = ring_[last_];
    if (size_ > 0 && newest.size == size && sameChars(newest.chars, chars, size)) {
        ++newest.repeats;
        newest.msSinceEpoch = nowMs();
        return;
    }
    last_ = last_ + 1 == capacity ? 0 : last_ + 1;
    Slot& slot = ring_[last_];
    slot.msSinceEpoch = nowMs();
    slot.repeats = 1;
    slot.size = std::uint32_t(size);
    copyChars(slot.chars, chars, size);
    if (size_ < capacity)
        ++size_;
}

std::vector<Breadcrumbs::Entry> Breadcrumbs::entries() const {
    std::vector<Entry> out;
    out.reserve(size_);
    const std::size_t first = (last_ + 1 + capacity - size_) % capacity;
    for (std::size_t i = 0; i < size_; ++i) {
        const Slot& s = ring_[(first + i) % capacity];
        out.push_back({QString(reinterpret_cast<const QChar*>(s.chars), qsizetype(s.size)),
                       s.msSinceEpoch, s.repeats});
    }
    return out;
}

void Breadcrumbs::clear() {
    last_ = capacity - 1;
    size_ = 0;
}

} // namespace trapwell::core
