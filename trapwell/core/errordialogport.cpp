#include "core/errordialogport.h"

#include "platform/classicerrors.h"

namespace trapwell::core {

namespace {
thread_local ErrorDialogPort* overrideDialog = nullptr;
} // namespace

ErrorDialogPort& ErrorDialogPort::current() {
    if (overrideDialog)
        return *overrideDialog;
    platform::raiseError(platform::err::actionNotSupported);
}

ErrorDialogPort::Override::Override(ErrorDialogPort& dialog) : previous_(overrideDialog) {
    overrideDialog = &dialog;
}

ErrorDialogPort::Override::~Override() {
    overrideDialog = previous_;
}

} // namespace trapwell::core
