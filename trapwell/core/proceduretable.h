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

    // Resizes to positions 0..upper, keeping the entries that remain.
    void redimPreserve(int upper);
    // The entry at index, created empty if there is none; error 9 outside the table.
    Procedures& at(int index);
    // Drops the entry at index; nothing happens outside the table.
    void release(int index);

    int upperBound() const { return int(entries_.size()) - 1; }

private:
    std::vector<std::unique_ptr<Procedures>> entries_;
};

} // namespace trapwell::core
