#pragma once

#include "core/collectorreport.h"
#include "core/errordialogport.h"
#include "core/privacymask.h"

#include <QString>

namespace trapwell::core {

// A report as TransmitMail hands it on.
struct MailRequest {
    QString address;
    QString subject;
    QString toName;
    QString body;
};

// How reports leave the machine, beside the specified deliveries; all off by default.
struct DeliveryOptions {
    // Keep what cannot be delivered in the outbox and retry it in the background.
    bool outbox = false;
    // Mask what identifies the user in every copy that leaves the machine.
    bool privacy = false;
    QStringList privateParameters = PrivacyMask::defaultParameterNames();
    // Where each handled error is sent as it happens (a collector's DSN or a plain URL);
    // empty sends nothing.
    QString reportUrl;

    // text as it may leave the machine.
    QString outgoing(const QString& text) const {
        if (!privacy)
            return text;
        return PrivacyMask(privateParameters).apply(text);
    }
};

// What a handler object needs from the dialogs and the deliveries, which the core does not
// see: the component's library puts its dialogs and mailers behind this, tests a fake. One
// per handler object, owned by it.
class HandlerPorts {
public:
    virtual ~HandlerPorts() = default;
    // This thread's error dialog. Raises error 429 when there can be none (no widgets).
    virtual ErrorDialogPort& errorDialog() = 0;
    // Shows the e-mail settings dialog modally.
    virtual void changeEmailSettings() = 0;
    // Mails the report the stored way, telling the user the outcome. May raise; the handler
    // then ends silently.
    virtual void transmitMail(const MailRequest& request) = 0;
    // The handler's current options, handed on whenever one changes.
    virtual void setDeliveryOptions(const DeliveryOptions&) {}
    // Hands a report for the report address to the deliveries; returns at once, the sending
    // happens elsewhere (kept in the outbox when that is on and sending fails).
    virtual void sendReport(const CollectorReport&) {}
};

} // namespace trapwell::core
