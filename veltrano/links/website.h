#pragma once

#include <QString>

namespace veltrano {

// Hands a web address to the desktop, telling the user when that fails: no browser
// (exclamation), address not found (exclamation), any other failure (stop) with its code.
void OpenWebsite(const QString& strWebsite);

} // namespace veltrano
