#pragma once

#include <trapwell/guid.h>

#include <QString>

#include <optional>

namespace platform::com {

// The per-user class registry: which library serves which class identifier. An INI file
// "ComClasses.ini" in the user's configuration folder, written by the servers'
// DllRegisterServer and read by createInstance.
class ClassRegistry {
public:
    // Both return false when the registry file cannot be written.
    static bool registerClass(const trapwell::Guid& clsid, const QString& libraryPath,
                              const QString& progId);
    static bool unregisterClass(const trapwell::Guid& clsid);
    // The absolute path of the library registered for clsid, if any.
    static std::optional<QString> libraryOf(const trapwell::Guid& clsid);
    static std::optional<trapwell::Guid> classOf(const QString& progId);
};

} // namespace platform::com
