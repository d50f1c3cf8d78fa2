#pragma once

#include <trapwell/errhandler.h>

#include <memory>

namespace veltrano {

class AppObject;

// The program's one way to the error component: it creates the component's handler object,
// configures it, and hands out references to it. Created by the first traced procedure and
// kept until the program ends, so the whole run has one stack, one set of logs and one set
// of mail settings.
class clsAEHandling {
public:
    // The shared instance, created on first use. Raises error 429 when the component cannot
    // be created.
    static clsAEHandling& shared();

    // The component's handler object; a copy is a new reference to it.
    const trapwell::ErrHandler& Handler() const { return handler_; }

    // Reports, through the error dialog and the deliveries, a crash the previous run left;
    // does nothing when there was none. For the start of the program, once its window shows.
    void reportPendingCrash() const;

    // Ends the program at once (platform::endProgram), after writing the trace lines that
    // wait in memory, which ending at once would lose.
    static void endProgram(int exitCode = 0);

    ~clsAEHandling();

private:
    friend class ProgramTestAccess; // tests start over with a fresh instance

    clsAEHandling();
    static std::unique_ptr<clsAEHandling>& instance();

    trapwell::ErrHandler handler_;
    std::unique_ptr<AppObject> app_;
};

} // namespace veltrano
