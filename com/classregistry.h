#pragma once

#include "com/guid.h"

#include <QString>

#include <optional>

namespace com {

// The per-user class registry: which library serves which class identifier. An INI file
// "ComClasses.ini" in the user's configuration folder, written by the servers'
// DllRegisterServer and read by createInstance.
class ClassRegistry {
public:
    // Both return false when the registry file cannot be written.
    static bool registerClass(const com::Guid& clsid, const QString& libraryPath,
                              const QString& progId);
    static bool unregisterClass(const com::Guid& clsid);
    // The absolute path of the library registered for clsid, if any.
    static std::optional<QString> libraryOf(const com::Guid& clsid);
    static std::optional<com::Guid> classOf(const QString& progId);
};

} // namespace com
