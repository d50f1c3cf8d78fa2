#pragma once

#include <QString>

#include <cstdint>

namespace trapwell::delivery {

// The decisions both ways of mailing a report share (the component's TransmitMail and the
// error dialog's e-mail button), and the two deliveries that hand the report to another
// program.

// The user's last word in the e-mail settings dialog was no: "EmailFlag" is exactly "False".
bool deliveryDeclined();

// Hands the mail to the "Outlook.Application" automation server, which sends it at once.
// 0 on success, otherwise the number of the error that stopped it.
std::int32_t SendOutlookMail(const QString& address, const QString& subject, const QString& body);
// Opens a mail link in the desktop's mail program, trying again with the link cut to 400
// characters. 0 on success, otherwise the shell's answer.
std::int32_t OpenMailClient(const QString& link, const QString& parameters);

// The link for the mail program: nothing in it is encoded.
QString mailLink(const QString& address, const QString& subject);

// The outcome messages of the two deliveries.
void reportOutlookResult(std::int32_t result);
void reportMailClientResult(std::int32_t result);

} // namespace trapwell::delivery
