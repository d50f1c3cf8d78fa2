#pragma once

#include "core/procedures.h"

#include <memory>
#include <vector>

namespace trapwell::core {

// The parameter lists of the thread's procedure stack, shared by every handler object of
// the thread and indexed by stack position. Starts undimensioned: until a Push or Pop has
// sized it, no position exists.
class ProcedureTable {
public:
    static ProcedureTable& current();
    // The same table, for a handler to keep: Push and Pop then skip the thread-local lookup,
    // and what they reach stays valid even past the end of the thread.
    static std::shared_ptr<ProcedureTable> ofThisThread();

    // Resizes to positions 0..upper, keeping the entries that remain. Push and Pop move it by
    // one, which stays inline.
    void redimPreserve(int upper) {
        const std::size_t size = std::size_t(upper) + 1;
        if (size == entries_.size() + 1)
            entries_.emplace_back();
        else if (size + 1 == entries_.size())
            entries_.pop_back();
        else
            entries_.resize(size);
    }
    // The entry at index, created empty if there is none; error 9 outside the table.
    Procedures& at(int index);
    // Drops the entry at index; nothing happens outside the table.
    void release(int index) {
        if (index >= 0 && index <= upperBound())
            entries_[std::size_t(index)].reset();
    }

    int upperBound() const { return int(entries_.size()) - 1; }

private:
    std::vector<std::unique_ptr<Procedures>> entries_;
};

} // namespace trapwell::core
