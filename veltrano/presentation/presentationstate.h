#pragma once

#include <cstdint>

namespace veltrano {

// The presentation's shared state, program-wide by design: the module taken over, the row of
// the entry shown last, the seconds between two entries, and whether a presentation runs.
// All start at 0 (false) with the program and are never saved: where each module's
// presentation got to is kept by ReadingPlace.
struct Presentation {
    static inline std::int16_t SelectedModule = 0;
    static inline std::int16_t WordIndex = 0;
    static inline std::int16_t WordInterval = 0;
    static inline bool running = false;
};

} // namespace veltrano
