#pragma once

namespace platform {

// A service of the outside world (clock, settings store, message boxes, shell, system log,
// ...) behind an interface: Interface::production() unless a test has put a fake in its place
// with a scoped Override. Overrides nest; the innermost one answers.
//
// platform is a static library, so every module that links it (the program, the component's
// library) holds its own copy of this state: an override installed by a host does not reach
// the component it loads. Tests of the component's internals link those internals into the
// test executable, where the override does apply.
template <class Interface> class Service {
public:
    static Interface& current() { return override_ ? *override_ : Interface::production(); }

    class Override {
    public:
        explicit Override(Interface& replacement) : previous_(override_) {
            override_ = &replacement;
        }
        ~Override() { override_ = previous_; }
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        Interface* previous_;
    };

protected:
    ~Service() = default;

private:
    static inline Interface* override_ = nullptr;
};

} // namespace platform
