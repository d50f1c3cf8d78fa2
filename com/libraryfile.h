#pragma once

#include <QString>

namespace com {

// Whether path is a shared library this process could load without harm: a regular file
// with an ELF header of this machine (class, byte order, architecture), a shared object,
// whose program headers, loaded segments and section headers all lie inside the file. The
// dynamic loader maps a file cut short and then dies of SIGBUS touching what is missing;
// checked here first, such a file is refused before any of its code can run.
bool isLoadableLibrary(const QString& path);

} // namespace com
