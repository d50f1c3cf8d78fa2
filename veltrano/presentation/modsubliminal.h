#pragma once

namespace veltrano {

// The presentation cycle: shows the selected module's entries one by one for 0.3 second in
// the display window, WordInterval seconds apart, until the presentation is stopped or an
// error ends it. Every other event of the program is handled inside its waits.
void module();

} // namespace veltrano
