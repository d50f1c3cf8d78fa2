#include "platform/com/classfactory.h"

namespace platform::com {

using trapwell::Guid;
using trapwell::HResult;
namespace status = trapwell::status;

HResult ClassFactory::queryInterface(const Guid& iid, void** out) {
    if (!out)
        return status::pointer;
    if (iid == trapwell::IID_IUnknown || iid == trapwell::IID_IClassFactory)
        return offer(static_cast<trapwell::IClassFactory*>(this), out);
    return refuse(out);
}

HResult ClassFactory::CreateInstance(trapwell::IUnknown* outer, const Guid& iid, void** out) {
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

} // namespace platform::com
