#pragma once

// For the tests of the component as it is put together: a handler as hosts get it, with the
// component's real ports (its dialogs and deliveries).

#include "componentports.h"

#include "core/tests/support/savedsettings.h"

#include <trapwell/comtypes.h>
#include <trapwell/errhandler.h>

#include <gtest/gtest.h>

inline trapwell::ErrHandler componentHandler() {
    trapwell::ComPtr<trapwell::IclsErrHandler> p;
    EXPECT_EQ(trapwell::createComponentErrHandler(trapwell::IID_clsErrHandler, p.putVoid()),
              trapwell::status::ok);
    return trapwell::ErrHandler(p);
}
