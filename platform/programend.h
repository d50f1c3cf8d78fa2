#pragma once

#include "platform/service.h"

namespace platform {

// How the program ends at once, or a test's counter. Each module has its own (service.h).
class ProgramEnd : public Service<ProgramEnd> {
public:
    virtual ~ProgramEnd() = default;
    virtual void end() = 0;
    static ProgramEnd& production();
};

// Ends the program at once: no further handler and no shutdown code runs, as the classic
// End statement did. Under a test's fake the call returns.
inline void endProgram() {
    ProgramEnd::current().end();
}

} // namespace platform
