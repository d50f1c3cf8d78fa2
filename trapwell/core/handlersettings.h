#pragma once

#include <trapwell/clserrhandler.h>

#include <QString>

namespace trapwell::core {

// The component's saved settings, application "Halvorn", section "ErrHandler". Read afresh
// on every call, never cached; converted by the classic rules, so a bad stored value raises
// a type (13) or overflow (6) error to the caller.
class HandlerSettings {
public:
    static Email_Type emailType(); // "EmailType", default 0
    static void setEmailType(Email_Type value);
    static bool emailSettings(); // "EmailSettings", default true
    static void setEmailSettings(bool value);
    static void setSmtpMailServer(const QString& value); // "SMTPMailServer", never read back

    static QString read(const QString& key, const QString& defaultValue = {});
    static void write(const QString& key, const QString& value);
};

} // namespace trapwell::core
