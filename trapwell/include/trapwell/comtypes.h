#pragma once

#include <com/comptr.h>
#include <com/errorrecord.h>
#include <com/guid.h>
#include <com/runtime.h>
#include <com/runtimeerror.h>
#include <com/unknown.h>

// The component's interfaces are written in the binary-interface runtime's types. Its hosts
// have always named them as the component's own (trapwell::RuntimeError, trapwell::Guid...),
// so they stay reachable under that name.
namespace trapwell {
using com::ComPtr;
using com::createInstance;
using com::currentExceptionAsError;
using com::currentExceptionNumber;
using com::DllCanUnloadNowFn;
using com::DllGetClassObjectFn;
using com::DllRegisterServerFn;
using com::DllUnregisterServerFn;
using com::errorNumberFromStatus;
using com::failed;
using com::Guid;
using com::HResult;
using com::IClassFactory;
using com::IID_IClassFactory;
using com::IID_ISupportErrorRecord;
using com::IID_IUnknown;
using com::ISupportErrorRecord;
using com::IUnknown;
using com::RuntimeError;
using com::statusFromErrorNumber;
using com::succeeded;
namespace errnum = com::errnum;
namespace status = com::status;
} // namespace trapwell
