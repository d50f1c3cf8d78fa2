#pragma once

#include "platform/service.h"

namespace platform {

// How the program ends at once, or a test's counter. Each module has its own (service.h).
class ProgramEnd : public Service<ProgramEnd> {
public:
    virtual ~ProgramEnd() = default;
    virtual void end(int exitCode) = 0;
    static ProgramEnd& production();
};

// Ends the program at once: no further handler and no shutdown code runs, as the classic
// End statement did. A non-zero exitCode tells the caller the program failed. Under a test's
// fake the call returns.
inline void endProgram(int exitCode = 0) {
    ProgramEnd::current().end(exitCode);
}

} // namespace platform
