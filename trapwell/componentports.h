#pragma once

#include "core/handlerports.h"

#include <trapwell/unknown.h>

#include <QMetaObject>

#include <memory>

namespace trapwell::delivery {
class SmtpMailer;
}

namespace trapwell {

// Where the component is put together: a handler object's ports to the error dialog, the
// e-mail settings dialog and the deliveries. The only place that sees core, dialogs and
// delivery at once.
class ComponentPorts final : public core::HandlerPorts {
public:
    ComponentPorts();
    ~ComponentPorts() override;

    core::ErrorDialogPort& errorDialog() override;
    void changeEmailSettings() override;
    void transmitMail(const core::MailRequest& request) override;

private:
    // The handler's own copy of the mailer, which borrows the error dialog's connection.
    delivery::SmtpMailer& mailer();

    std::unique_ptr<delivery::SmtpMailer> mailer_;
    QMetaObject::Connection replySubscription_;
};

// What the class factory calls: a handler object wired to the component's dialogs and
// deliveries.
HResult createComponentErrHandler(const Guid& iid, void** out);

} // namespace trapwell
