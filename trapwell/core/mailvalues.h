#pragma once

#include <QString>

namespace trapwell::core {

// Sender and server of report mail, shared by every handler object and dialog of a thread.
struct MailValues {
    QString FromName;
    QString FromEmailAddress;
    QString SMTPMailServer;

    static MailValues& current();
};

} // namespace trapwell::core
