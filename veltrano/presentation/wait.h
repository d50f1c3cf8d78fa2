#pragma once

#include <cstdint>

namespace veltrano {

// Waits the given seconds while the program's events go on being handled: every handler
// may run nested inside. The caller's variable is read anew on every pass, so changing it
// changes the wait in progress. Within the first ten seconds after midnight the wait ends
// at once (the time of day starts again from 0 there). Events are handled at least once.
void Wait(const std::int16_t& intSeconds);
void Wait(double intSeconds);

} // namespace veltrano
