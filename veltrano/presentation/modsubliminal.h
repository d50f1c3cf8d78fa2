#pragma once

namespace veltrano {

// The presentation cycle: shows the selected module's entries one by one in the display
// window, in the chosen order from where the module's presentation last got to
// (ReadingPlace), each for the chosen entry time (0.3 second by default), WordInterval
// seconds apart, until the presentation is stopped or an error ends it. Every other event of
// the program is handled inside its waits.
void module();

// Holds a due entry back while a full-screen window is active (unless the learner switched
// that off), waiting until it is gone or loses the focus. Returns whether the presentation
// still runs; false also when the wait failed (the failure is reported).
bool PauseWhileFullScreen();

// Holds a due entry back while a popup menu of the program is open (the tray's, a context
// menu), so the strip never closes it, covers it or takes its grab. Returns as
// PauseWhileFullScreen does.
bool PauseWhileMenuOpen();

} // namespace veltrano
