// The four entry points of the component's library: everything else stays inside.

#include "componentports.h"
#include "sysinfo/sysobj.h"

#include "com/classfactory.h"
#include "com/classregistry.h"
#include "com/modulelock.h"
#include "com/modulepath.h"

#include <trapwell/clserrhandler.h>
#include <trapwell/comtypes.h>

#define TRAPWELL_EXPORT extern "C" __attribute__((visibility("default")))

using namespace trapwell;

namespace {

struct ServedClass {
    const Guid& clsid;
    const char* progId;
    com::ClassFactory::Create create;
};

const ServedClass servedClasses[] = {
    {CLSID_clsErrHandler, "Trapwell.clsErrHandler", &createComponentErrHandler},
    {CLSID_SysObj, "Trapwell.SysObj", &sysinfo::createSysObj},
};

} // namespace

TRAPWELL_EXPORT HResult DllGetClassObject(const Guid* clsid, const Guid* iid, void** out) {
    if (!clsid || !iid || !out)
        return status::pointer;
    *out = nullptr;
    for (const ServedClass& c : servedClasses)
        if (*clsid == c.clsid)
            return com::getClassObject(c.create, *iid, out);
    return status::classNotAvailable;
}

TRAPWELL_EXPORT HResult DllCanUnloadNow() {
    return com::ModuleLock::canUnload() ? status::ok : status::falseResult;
}

TRAPWELL_EXPORT HResult DllRegisterServer() {
    try {
        const QString library =
            com::modulePathOf(reinterpret_cast<const void*>(&DllRegisterServer));
        if (library.isEmpty())
            return status::selfRegClass;
        for (const ServedClass& c : servedClasses)
            if (!com::ClassRegistry::registerClass(c.clsid, library, QString::fromLatin1(c.progId)))
                return status::selfRegClass;
        return status::ok;
    } catch (...) {
        return status::selfRegClass;
    }
}

TRAPWELL_EXPORT HResult DllUnregisterServer() {
    try {
        bool ok = true;
        for (const ServedClass& c : servedClasses)
            ok = com::ClassRegistry::unregisterClass(c.clsid) && ok;
        return ok ? status::ok : status::selfRegClass;
    } catch (...) {
        return status::selfRegClass;
    }
}
