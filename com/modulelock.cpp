#include "com/modulelock.h"

#include <atomic>

namespace com {

namespace {
std::atomic<long> objects{0};
std::atomic<long> locks{0};
} // namespace

void ModuleLock::objectCreated() {
    ++objects;
}
void ModuleLock::objectDestroyed() {
    --objects;
}
void ModuleLock::lock(bool on) {
    if (on)
        ++locks;
    else if (locks.load() > 0)
        --locks;
}
bool ModuleLock::canUnload() {
    return objects.load() == 0 && locks.load() == 0;
}

} // namespace com
