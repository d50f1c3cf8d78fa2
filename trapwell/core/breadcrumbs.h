#pragma once

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <time.h>
#include <vector>

namespace trapwell::core {

// The procedures entered last, for a report's trail of what led to the error: a fixed ring
// of the latest entries, where a procedure entered again right after itself (a timer's
// handler, a loop) only counts up instead of pushing the older ones out.
class Breadcrumbs {
public:
    static constexpr std::size_t capacity = 100;
    // Longer names are cut in the trail, and compared only this far when counting repeats.
    static constexpr qsizetype longestName = 120;

    struct Entry {
        QString procedure;
        std::int64_t msSinceEpoch = 0; // the latest entry of the run
        std::uint32_t repeats = 1;     // entries in a row
    };

    // Called by Push: cheap enough for every procedure entry. The slot shares the caller's
    // string instead of copying its characters; for a literal that costs no reference count
    // at all, and the shared data stays valid however long the ring keeps it.
    void entered(const QString& procedure) noexcept {
        Slot& newest = ring_[last_];
        if (size_ > 0 && sameName(newest.procedure, procedure)) {
            ++newest.repeats;
            newest.msSinceEpoch = nowMs();
            return;
        }
        last_ = last_ + 1 == capacity ? 0 : last_ + 1;
        Slot& slot = ring_[last_];
        slot.msSinceEpoch = nowMs();
        slot.repeats = 1;
        QString shared(procedure); // inline, where assignment would be a call into Qt
        slot.procedure.swap(shared);
        if (size_ < capacity)
            ++size_;
    }
    // Oldest first.
    std::vector<Entry> entries() const;
    void clear();

private:
    // The coarse clock is a few nanoseconds against a few tens for the precise one, and its
    // resolution (a few milliseconds) is enough to order a trail read by people.
    static std::int64_t nowMs() noexcept {
        timespec ts{};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &ts);
        return std::int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
    }
    // The same data is the same name (shared data never changes); otherwise the characters
    // decide, as far as the trail keeps them. Word by word: names are short, and a call to
    // memcmp costs more than comparing them here.
    static bool sameName(const QString& a, const QString& b) noexcept {
        if (a.constData() == b.constData() && a.size() == b.size())
            return true;
        const std::size_t n = std::size_t(std::min(a.size(), longestName));
        if (n != std::size_t(std::min(b.size(), longestName)))
            return false;
        const QChar* x = a.constData();
        const QChar* y = b.constData();
        std::size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            std::uint64_t u, v;
            std::memcpy(&u, x + i, sizeof u);
            std::memcpy(&v, y + i, sizeof v);
            if (u != v)
                return false;
        }
        for (; i < n; ++i)
            if (x[i] != y[i])
                return false;
        return true;
    }

    struct Slot {
        QString procedure;
        std::int64_t msSinceEpoch = 0;
        std::uint32_t repeats = 0;
    };
    std::array<Slot, capacity> ring_{};
    std::size_t last_ = capacity - 1; // the newest slot
    std::size_t size_ = 0;
};

} // namespace trapwell::core
