#include "core/handlersettings.h"

#include "platform/classicconvert.h"
#include "platform/settingsstore.h"

namespace trapwell::core {

namespace {
const QString application = QStringLiteral("Halvorn");
const QString section = QStringLiteral("ErrHandler");
} // namespace

QString HandlerSettings::read(const QString& key, const QString& defaultValue) {
    return platform::SettingsStore::current().GetSetting(application, section, key, defaultValue);
}

void HandlerSettings::write(const QString& key, const QString& value) {
    platform::SettingsStore::current().SaveSetting(application, section, key, value);
}

Email_Type HandlerSettings::emailType() {
    return Email_Type(platform::CLng(read(QStringLiteral("EmailType"), QStringLiteral("0"))));
}

void HandlerSettings::setEmailType(Email_Type value) {
    write(QStringLiteral("EmailType"), QString::number(std::int32_t(value)));
}

bool HandlerSettings::emailSettings() {
    return platform::CBool(read(QStringLiteral("EmailSettings"), QStringLiteral("True")));
}

void HandlerSettings::setEmailSettings(bool value) {
    write(QStringLiteral("EmailSettings"), platform::boolText(value));
}

void HandlerSettings::setSmtpMailServer(const QString& value) {
    write(QStringLiteral("SMTPMailServer"), value);
}

} // namespace trapwell::core
