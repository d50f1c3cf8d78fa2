#pragma once

namespace com {

// Counts what keeps a server library in use: live objects and LockServer locks. Each
// module that links the runtime has its own count, as each library answers
// DllCanUnloadNow for itself.
class ModuleLock {
public:
    static void objectCreated();
    static void objectDestroyed();
    static void lock(bool on);
    // True when no object is alive and no lock is held.
    static bool canUnload();
};

} // namespace com
