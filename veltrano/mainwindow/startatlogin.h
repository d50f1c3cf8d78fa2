#pragma once

namespace veltrano {

class Form1;

// Makes the desktop start this very program when the user logs in (an XDG autostart entry),
// or stops it from doing so. Only a change is made: an entry already there is left as it is,
// and without one there is nothing to remove. A folder that cannot be written is told to the
// user in a message box and changes nothing else.
void StartAtLogin(bool enable);

// The start-up box Check26 shows whether the desktop starts the program at login: the entry
// decides, not the stored key, so that closing the panel untouched changes nothing. Runs as
// the panel opens, after Image5_Click has shown the stored key.
void startatloginload(Form1& form);

} // namespace veltrano
