#pragma once

#include "core/handlerports.h"

#include <trapwell/comtypes.h>

#include <QMetaObject>

#include <memory>

namespace trapwell::delivery {
class OutboxWorker;
class SmtpMailer;
} // namespace trapwell::delivery

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
    void transmitMail(const core::MailRequest& given) override;
    void setDeliveryOptions(const core::DeliveryOptions& options) override;
    void sendReport(const core::CollectorReport& report) override;

private:
    // The handler's own copy of the mailer, which borrows the error dialog's connection.
    delivery::SmtpMailer& mailer();

    core::DeliveryOptions options_;
    // Held while this handler keeps unsent reports; shared by all handlers of the process.
    std::shared_ptr<delivery::OutboxWorker> worker_;
    std::unique_ptr<delivery::SmtpMailer> mailer_;
    QMetaObject::Connection replySubscription_;
};

// What the class factory calls: a handler object wired to the component's dialogs and
// deliveries.
HResult createComponentErrHandler(const Guid& iid, void** out);

} // namespace trapwell
