#include "core/proceduretable.h"

#include "platform/classicerrors.h"

namespace trapwell::core {

namespace {
const std::shared_ptr<ProcedureTable>& tableOfThisThread() {
    thread_local const std::shared_ptr<ProcedureTable> table = std::make_shared<ProcedureTable>();
    return table;
}
} // namespace

ProcedureTable& ProcedureTable::current() {
    return *tableOfThisThread();
}

std::shared_ptr<ProcedureTable> ProcedureTable::ofThisThread() {
    return tableOfThisThread();
}

Procedures& ProcedureTable::at(int index) {
    if (index < 0 || index > upperBound())
        platform::raiseError(platform::err::subscriptOutOfRange);
    auto& entry = entries_[std::size_t(index)];
    if (!entry)
        entry = std::make_unique<Procedures>();
    return *entry;
}

} // namespace trapwell::core
