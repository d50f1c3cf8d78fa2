#pragma once

#include "com/unknown.h"

#include <utility>

namespace com {

// Owns one reference to an interface: releases it on destruction, adds one on copy.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_)
            p_->addRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }

    // Takes over a reference the caller already owns (as handed out by queryInterface).
    static ComPtr adopt(T* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    // Shares a pointer the caller does not own: adds a reference.
    static ComPtr share(T* p) {
        if (p)
            p->addRef();
        return adopt(p);
    }

    void reset() {
        if (T* p = std::exchange(p_, nullptr))
            p->release();
    }
    // For out-parameters: drops the current reference and returns the slot to fill.
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    T* detach() { return std::exchange(p_, nullptr); }

    template <class U> ComPtr<U> as(const Guid& iid) const {
        ComPtr<U> out;
        if (p_)
            p_->queryInterface(iid, out.putVoid());
        return out;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

} // namespace com
