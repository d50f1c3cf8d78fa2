#include "delivery/maildelivery.h"

#include "core/handlersettings.h"

#include "platform/automation.h"
#include "platform/classicconvert.h"
#include "platform/messagebox.h"
#include "platform/objectmembers.h"
#include "platform/shell.h"

#include <trapwell/comtypes.h>

#include <QUrl>

namespace trapwell::delivery {

bool deliveryDeclined() {
    return core::HandlerSettings::read(QStringLiteral("EmailFlag")) == QLatin1String("False");
}

std::int32_t SendOutlookMail(const QString& address, const QString& subject, const QString& body) {
    try {
        std::unique_ptr<QObject> outlook =
            platform::AutomationServers::create(QStringLiteral("Outlook.Application"));
        QObject* item = platform::objectOf(
            platform::callMember(outlook.get(), "CreateItem", {QVariant::fromValue<qint16>(0)}));
        QObject* recipients = platform::objectOf(platform::getMember(item, "Recipients"));
        platform::callMember(recipients, "Add", {address});
        platform::setMember(item, "Body", body);
        platform::setMember(item, "Subject", subject);
        platform::callMember(item, "Send");
        return 0;
    } catch (const RuntimeError& e) {
        return e.number();
    }
}

std::int32_t OpenMailClient(const QString& link, const QString& /*parameters*/) {
    // Only a handed-over link counts; mail programs refuse overlong links, hence the retry.
    int r = platform::shellOpen(QUrl(link));
    if (r != platform::shell::success)
        r = platform::shellOpen(QUrl(link.left(400)));
    return r == platform::shell::success ? 0 : r;
}

QString mailLink(const QString& address, const QString& subject) {
    return QStringLiteral("mailto:") + address + QStringLiteral("?Subject=") + subject;
}

void reportOutlookResult(std::int32_t result) {
    if (result == 0)
        platform::MsgBox(QStringLiteral("Composed Error Email in MS Outlook."),
                         platform::mb::OKOnly, QStringLiteral("Operation Successful"));
    else
        platform::MsgBox(
            QStringLiteral("Error occurred while attempting to compose Error email in MS Outlook"),
            platform::mb::OKOnly | platform::mb::Critical, QStringLiteral("Operation Failed"));
}

void reportMailClientResult(std::int32_t result) {
    if (result == 0)
        platform::MsgBox(QStringLiteral("Composed Error Email in Default Mail Client."),
                         platform::mb::OKOnly, QStringLiteral("Operation Successful"));
    else
        platform::MsgBox(QStringLiteral("Error occurred while attempting to email error"),
                         platform::mb::OKOnly | platform::mb::Critical,
                         QStringLiteral("Operation Failed"));
}

} // namespace trapwell::delivery
