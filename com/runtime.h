#pragma once

#include "com/unknown.h"

#include <QString>

namespace com {

// {00000001-0000-0000-C000-000000000046}
inline constexpr Guid IID_IClassFactory{
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Handed out by a server's DllGetClassObject; makes objects of one class.
class IClassFactory : public IUnknown {
public:
    // outer must be null: the component's classes cannot be aggregated.
    virtual HResult CreateInstance(IUnknown* outer, const Guid& iid, void** out) = 0;
    // Keeps the server loaded while locked, whether or not objects exist.
    virtual HResult LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// The four entry points of an in-process server, exported with C linkage.
using DllGetClassObjectFn = HResult (*)(const Guid* clsid, const Guid* iid, void** out);
using DllCanUnloadNowFn = HResult (*)();
using DllRegisterServerFn = HResult (*)();
using DllUnregisterServerFn = HResult (*)();

// Creates an object of class clsid and hands out its interface iid (one reference, owned by
// the caller). The class is looked up in the per-user class registry (an absolute path
// only); a class not registered there is sought in libtrapwell.so beside the host's
// executable, and in no other library. A file is loaded only when it is a sound shared
// library of this machine. Fails with status::classNotRegistered when no library offers the
// class, or with the factory's own status. Provided by the component runtime that hosts
// link (the platform library).
HResult createInstance(const Guid& clsid, const Guid& iid, void** out);

} // namespace com
