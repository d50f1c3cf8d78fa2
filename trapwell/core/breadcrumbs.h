#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace trapwell::core {

// The procedures entered last, for a report's trail of what led to the error: a fixed ring
// of the latest entries, where a procedure entered again right after itself (a timer's
// handler, a loop) only counts up instead of pushing the older ones out.
class Breadcrumbs {
public:
    static constexpr std::size_t capacity = 100;
    // Longer names are cut: the ring copies characters, so an entry costs neither an
    // allocation nor the atomic reference counting of a QString copy.
    static constexpr std::size_t longestName = 120;

    struct Entry {
        QString procedure;
        std::int64_t msSinceEpoch = 0; // the latest entry of the run
        std::uint32_t repeats = 1;     // entries in a row
    };

    // Called by Push: cheap enough for every procedure entry.
    void entered(const QString& procedure) noexcept;
    // Oldest first.
    std::vector<Entry> entries() const;
    void clear();

private:
    struct Slot {
        std::int64_t msSinceEpoch;
        std::uint32_t repeats;
        std::uint32_t size;
        char16_t chars[longestName];
    };
    std::array<Slot, capacity> ring_{};
    std::size_t last_ = capacity - 1; // the newest slot
    std::size_t size_ = 0;
};

} // namespace trapwell::core
