#pragma once

#include "platform/com/comobject.h"

#include <trapwell/runtime.h>

namespace platform::com {

// A factory for one class: create makes a new object and hands out the asked interface.
class ClassFactory final : public ComObject<ClassFactory, trapwell::IClassFactory> {
public:
    using Create = trapwell::HResult (*)(const trapwell::Guid& iid, void** out);
    explicit ClassFactory(Create create) : create_(create) {}

    trapwell::HResult queryInterface(const trapwell::Guid& iid, void** out) override;
    trapwell::HResult CreateInstance(trapwell::IUnknown* outer, const trapwell::Guid& iid,
                                     void** out) override;
    trapwell::HResult LockServer(bool lock) override;

private:
    Create create_;
};

// What a server's DllGetClassObject does for one of its classes.
trapwell::HResult getClassObject(ClassFactory::Create create, const trapwell::Guid& iid,
                                 void** out);

} // namespace platform::com
