#pragma once

#include "delivery/outbox.h"

#include "platform/service.h"
#include "platform/tcpconnection.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

namespace trapwell::delivery {

// The server port and how long the dialogue waits for each reply: 25 and 50 s, unless a
// test puts a fake in place. Each module has its own (service.h).
class SmtpLimits : public platform::Service<SmtpLimits> {
public:
    virtual ~SmtpLimits() = default;
    virtual quint16 port() const { return 25; }
    virtual double replySeconds() const { return 50.0; }
    static SmtpLimits& production();
};

// Sends a plain-text mail by talking SMTP directly to a server, waiting for each reply while
// the windows stay live. The component and the error dialog each own one, with their own
// reply buffer; this is the dialogue both share.
class SmtpMailer {
public:
    struct Copy {
        // The connection to talk over, asked for at every send (the component's copy borrows
        // the error dialog's connection and subscribes to it then).
        std::function<platform::TcpConnection&()> connection;
        // Runs just before connecting (the component's copy empties the last-reply slot).
        std::function<void()> beforeConnect;
        // Runs after the failure message when the server did not take the message: the
        // message as it was to go (server, envelope and the data after DATA).
        std::function<void(const OutgoingMessage&)> undelivered;
    };

    explicit SmtpMailer(Copy copy);

    // The last reply that reached this copy, replaced by the copy's data-arrival handler.
    QString ReplyBuffer;

    // The outcome is told by message boxes only. Line breaks inside the names, addresses,
    // subject and server name travel as spaces; in the body every line break goes as CR LF
    // and lines that begin with "." get one more, so no value can end a line or the message
    // early.
    void SendEmail(const QString& MailServerName, const QString& FromName,
                   const QString& FromEmailAddress, const QString& ToName,
                   const QString& ToEMailAddress, const QString& EmailSubject,
                   const QString& EmailBodyofMessage);

    // Waits for a reply that begins with ResponseCode; true when the wait failed and the
    // failure has been shown.
    bool WaitFor(const QString& ResponseCode);

private:
    Copy copy_;
};

// The date header's text: "Wed,20/Aug/2003 04:21:56-0600" with the locale's day and month
// names and date and time separators; 24-hour time, and always "-0600" whatever the zone.
QString smtpDateText(const QDateTime& when, const QLocale& locale);

// The reply last read from the error dialog's connection on this thread, for the
// component's copy to pick up.
QString& lastReplySlot();

} // namespace trapwell::delivery
