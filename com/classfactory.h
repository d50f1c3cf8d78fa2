#pragma once

#include "com/comobject.h"

#include "com/runtime.h"

namespace com {

// A factory for one class: create makes a new object and hands out the asked interface.
class ClassFactory final : public ComObject<ClassFactory, com::IClassFactory> {
public:
    using Create = com::HResult (*)(const com::Guid& iid, void** out);
    explicit ClassFactory(Create create) : create_(create) {}

    com::HResult queryInterface(const com::Guid& iid, void** out) override;
    com::HResult CreateInstance(com::IUnknown* outer, const com::Guid& iid, void** out) override;
    com::HResult LockServer(bool lock) override;

private:
    Create create_;
};

// What a server's DllGetClassObject does for one of its classes.
com::HResult getClassObject(ClassFactory::Create create, const com::Guid& iid, void** out);

} // namespace com
