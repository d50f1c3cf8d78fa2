#pragma once

namespace platform {

// Ends the program at once: no further handler and no shutdown code runs, as the classic
// End statement did. Under a recorder (tests) the call is only counted and returns.
void endProgram();

class ProgramEndRecorder {
public:
    ProgramEndRecorder();
    ~ProgramEndRecorder();
    ProgramEndRecorder(const ProgramEndRecorder&) = delete;
    ProgramEndRecorder& operator=(const ProgramEndRecorder&) = delete;

    int count() const { return count_; }

private:
    friend void endProgram();
    int count_ = 0;
    ProgramEndRecorder* previous_;
};

} // namespace platform
