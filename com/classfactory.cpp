#include "com/classfactory.h"

namespace com {

using com::Guid;
using com::HResult;

HResult ClassFactory::queryInterface(const Guid& iid, void** out) {
    if (!out)
        return status::pointer;
    if (iid == com::IID_IUnknown || iid == com::IID_IClassFactory)
        return offer(static_cast<com::IClassFactory*>(this), out);
    return refuse(out);
}

HResult ClassFactory::CreateInstance(com::IUnknown* outer, const Guid& iid, void** out) {
    if (!out)
        return status::pointer;
    *out = nullptr;
    if (outer)
        return status::noAggregation;
    return create_(iid, out);
}

HResult ClassFactory::LockServer(bool lock) {
    ModuleLock::lock(lock);
    return status::ok;
}

HResult getClassObject(ClassFactory::Create create, const Guid& iid, void** out) {
    return createObject<ClassFactory>(iid, out, create);
}

} // namespace com
