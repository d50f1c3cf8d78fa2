#pragma once

#include <QString>

namespace veltrano {

class Form1;

// Where the module choice is kept: application (the program's title), section and keys
// "Check Box 4" .. "Check Box 26".
namespace checkboxsettings {
QString application();
QString section();
QString key(int number);
} // namespace checkboxsettings

// Restores the 22 module boxes from the settings store (default "1"); each value that
// changes a box acts like a click on it. A bad stored value stops the restore at that box.
void checkvaluesload(Form1& form);
// Saves the 22 module boxes.
void checkvaluessave(Form1& form);

} // namespace veltrano
