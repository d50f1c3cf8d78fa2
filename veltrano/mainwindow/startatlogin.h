#pragma once

namespace veltrano {

// Makes the desktop start this very program when the user logs in (an XDG autostart entry),
// or stops it from doing so. A folder that cannot be written is told to the user in a
// message box and changes nothing else.
void StartAtLogin(bool enable);

} // namespace veltrano
