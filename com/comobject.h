#pragma once

#include "com/modulelock.h"

#include "com/unknown.h"

#include <atomic>
#include <cstdint>
#include <new>
#include <thread>
#include <utility>

namespace com {

// Reference counting for an object that implements Interfaces. The derived class answers
// queryInterface (with offer()) and is created with new; its first reference comes from
// the queryInterface that hands it out. Every live object holds the module in use.
template <class Derived, class... Interfaces> class ComObject : public Interfaces... {
public:
    std::uint32_t addRef() override { return ++refs_; }
    std::uint32_t release() override {
        const std::uint32_t n = --refs_;
        if (n == 0)
            delete static_cast<Derived*>(this);
        return n;
    }

protected:
    ComObject() { ModuleLock::objectCreated(); }

    // An object belongs to the thread that created it (the host's user-interface thread):
    // its members refuse a call from any other thread with status::wrongThread before they
    // touch its state, which no lock guards. Reference counting works from any thread.
    bool onOwnerThread() const { return std::this_thread::get_id() == owner_; }
    virtual ~ComObject() { ModuleLock::objectDestroyed(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    // Hands out interface p with one new reference.
    template <class I> com::HResult offer(I* p, void** out) {
        *out = p;
        addRef();
        return com::status::ok;
    }
    com::HResult refuse(void** out) {
        if (out)
            *out = nullptr;
        return com::status::noInterface;
    }

private:
    std::atomic<std::uint32_t> refs_{0};
    const std::thread::id owner_ = std::this_thread::get_id();
};

// Creates a Derived and hands out its interface iid; deletes it again when it has none.
template <class Derived, class... Args>
com::HResult createObject(const com::Guid& iid, void** out, Args&&... args) {
    if (!out)
        return com::status::pointer;
    *out = nullptr;
    Derived* object = nullptr;
    try {
        object = new Derived(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        return com::status::outOfMemory;
    } catch (...) {
        return com::status::fail;
    }
    object->addRef();
    const com::HResult hr = object->queryInterface(iid, out);
    object->release();
    return hr;
}

} // namespace com
