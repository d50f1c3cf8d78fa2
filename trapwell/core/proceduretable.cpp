#include "core/proceduretable.h"

#include "platform/classicerrors.h"

namespace trapwell::core {

ProcedureTable& ProcedureTable::current() {
    thread_local ProcedureTable table;
    return table;
}

void ProcedureTable::redimPreserve(int upper) {
    entries_.resize(std::size_t(upper) + 1);
}

Procedures& ProcedureTable::at(int index) {
    if (index < 0 || index > upperBound())
        platform::raiseError(platform::err::subscriptOutOfRange);
    auto& entry = entries_[std::size_t(index)];
    if (!entry)
        entry = std::make_unique<Procedures>();
    return *entry;
}

void ProcedureTable::release(int index) {
    if (index >= 0 && index <= upperBound())
        entries_[std::size_t(index)].reset();
}

} // namespace trapwell::core
