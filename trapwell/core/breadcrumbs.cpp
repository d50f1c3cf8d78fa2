#include "core/breadcrumbs.h"

namespace trapwell::core {

std::vector<Breadcrumbs::Entry> Breadcrumbs::entries() const {
    std::vector<Entry> out;
    out.reserve(size_);
    const std::size_t first = (last_ + 1 + capacity - size_) % capacity;
    for (std::size_t i = 0; i < size_; ++i) {
        const Slot& s = ring_[(first + i) % capacity];
        out.push_back({s.procedure.left(longestName), s.msSinceEpoch, s.repeats});
    }
    return out;
}

void Breadcrumbs::clear() {
    for (Slot& s : ring_)
        s.procedure.clear(); // lets go of the shared names
    last_ = capacity - 1;
    size_ = 0;
}

} // namespace trapwell::core
