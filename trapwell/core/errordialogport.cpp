#include "core/errordialogport.h"

#include "dialogs/frmerror.h"

namespace trapwell::core {

namespace {
thread_local ErrorDialogPort* overrideDialog = nullptr;
} // namespace

ErrorDialogPort& ErrorDialogPort::current() {
    if (overrideDialog)
        return *overrideDialog;
    return dialogs::frmError::instance();
}

ErrorDialogPort::Override::Override(ErrorDialogPort& dialog) : previous_(overrideDialog) {
    overrideDialog = &dialog;
}

ErrorDialogPort::Override::~Override() {
    overrideDialog = previous_;
}

} // namespace trapwell::core
