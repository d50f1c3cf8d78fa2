#pragma once

#include <QString>

namespace com {

// The absolute path of the library or executable that holds address (dladdr); empty when
// it cannot be found.
QString modulePathOf(const void* address);

} // namespace com
