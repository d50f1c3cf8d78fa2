#include "componentports.h"

#include "core/clserrhandler.h"
#include "core/handlersettings.h"
#include "core/mailvalues.h"
#include "delivery/collectorevent.h"
#include "delivery/maildelivery.h"
#include "delivery/outboxworker.h"
#include "delivery/smtpmailer.h"
#include "dialogs/frmeml.h"
#include "dialogs/frmerror.h"

#include "platform/tcpconnection.h"

#include <QApplication>
#include <QClipboard>
#include <trapwell/comtypes.h>

namespace trapwell {

ComponentPorts::ComponentPorts() = default;

ComponentPorts::~ComponentPorts() {
    QObject::disconnect(replySubscription_);
}

core::ErrorDialogPort& ComponentPorts::errorDialog() {
    dialogs::frmError& dialog = dialogs::frmError::instance();
    dialog.setOutbox(worker_);
    dialog.setDeliveryOptions(options_);
    return dialog;
}

void ComponentPorts::setDeliveryOptions(const core::DeliveryOptions& options) {
    options_ = options;
    // The worker sends reports to the report address too, so the host's thread never waits.
    const bool needWorker = options.outbox || !options.reportUrl.isEmpty();
    if (needWorker && !worker_)
        worker_ = delivery::OutboxWorker::acquire();
    else if (!needWorker)
        worker_.reset();
    if (worker_)
        worker_->setRetrying(options.outbox);
    if (dialogs::frmError::exists()) {
        dialogs::frmError::instance().setOutbox(worker_);
        dialogs::frmError::instance().setDeliveryOptions(options_);
    }
}

void ComponentPorts::sendReport(const core::CollectorReport& report) {
    if (worker_)
        worker_->send(delivery::CollectorEvent::message(report), options_.outbox);
}

void ComponentPorts::changeEmailSettings() {
    dialogs::frmEml::showModalFor(nullptr);
}

void ComponentPorts::transmitMail(const core::MailRequest& given) {
    core::MailRequest request = given;
    request.body = options_.outgoing(given.body);
    // A mail link carries no body: the user pastes the report from the clipboard.
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(request.body);
    if (core::HandlerSettings::emailSettings())
        dialogs::frmEml::offerBeforeMailing(nullptr);
    if (delivery::deliveryDeclined())
        return;
    // The handler puts the pointer back however this ends.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    switch (core::HandlerSettings::emailType()) {
    case aeOutlook:
        delivery::reportOutlookResult(
            delivery::SendOutlookMail(request.address, request.subject, request.body));
        break;
    case aeDefault:
        delivery::reportMailClientResult(delivery::OpenMailClient(
            delivery::mailLink(request.address, request.subject), QString()));
        break;
    case aeSMTP: {
        const core::MailValues& mail = core::MailValues::current();
        mailer().SendEmail(mail.SMTPMailServer, mail.FromName, mail.FromEmailAddress,
                           request.toName, request.address, request.subject, request.body);
        // The mailer borrowed the dialog's connection; the dialog goes with it.
        dialogs::frmError::instance();
        dialogs::frmError::unloadInstance();
        break;
    }
    }
}

delivery::SmtpMailer& ComponentPorts::mailer() {
    if (!mailer_)
        mailer_ = std::make_unique<delivery::SmtpMailer>(delivery::SmtpMailer::Copy{
            [this]() -> platform::TcpConnection& {
                // Borrow the dialog's connection, loading its window when needed, and hear
                // its arrivals after the dialog's own handler has stored them.
                dialogs::frmError& dialog = dialogs::frmError::instance();
                dialog.load();
                QObject::disconnect(replySubscription_);
                replySubscription_ = QObject::connect(
                    dialog.Winsock1(), &platform::TcpConnection::DataArrival, dialog.Winsock1(),
                    [this] { mailer_->ReplyBuffer = delivery::lastReplySlot(); });
                return *dialog.Winsock1();
            },
            [] { delivery::lastReplySlot().clear(); },
            [this](const delivery::OutgoingMessage& message) {
                if (worker_)
                    worker_->keep(message);
            }});
    return *mailer_;
}

HResult createComponentErrHandler(const Guid& iid, void** out) {
    std::unique_ptr<ComponentPorts> ports;
    try {
        ports = std::make_unique<ComponentPorts>();
    } catch (...) {
        return status::outOfMemory;
    }
    return core::createClsErrHandler(std::move(ports), iid, out);
}

} // namespace trapwell
