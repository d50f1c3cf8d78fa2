#pragma once

#include <QString>

namespace trapwell::core {

// The folder that holds the component's library, where logs go when the host names none.
// An installed library's folder is not writable, so the per-user data folder
// (~/.local/share/trapwell) takes its place then, created when needed.
QString componentFolder();

} // namespace trapwell::core
