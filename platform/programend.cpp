#include "platform/programend.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
ProgramEndRecorder* activeRecorder = nullptr;
} // namespace

void endProgram() {
    if (activeRecorder) {
        ++activeRecorder->count_;
        return;
    }
    // Everything the program writes is closed within each call, so nothing is lost here.
    std::fflush(nullptr);
    std::_Exit(0);
}

ProgramEndRecorder::ProgramEndRecorder() : previous_(activeRecorder) {
    activeRecorder = this;
}

ProgramEndRecorder::~ProgramEndRecorder() {
    activeRecorder = previous_;
}

} // namespace platform
