#pragma once

namespace veltrano {

// Module Module2.

// Puts the display window above all other windows and shows it without activating it at
// the place and size the program holds for it.
void AlwaysOnTop();

} // namespace veltrano
