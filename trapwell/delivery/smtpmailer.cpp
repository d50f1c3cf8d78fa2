#include "delivery/smtpmailer.h"

#include "platform/clock.h"
#include "platform/messagebox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace trapwell::delivery {

namespace {

const QString componentTitle = QStringLiteral("Trapwell");
const QString timeoutTitle = QStringLiteral("SMTP Timeout");
const QString crlf = QStringLiteral("\r\n");

// One pass of event handling that sleeps in the event dispatcher until an event comes (a
// reply wakes it at once) or the wait's deadline passes, so a wait does not burn a core.
void handleEventsFor(QTimer& wakeUp, double maxWait) {
    wakeUp.start(int(std::ceil(std::max(maxWait, 0.0) * 1000.0)) + 1);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// A line break inside a value would end the command or header line it is put in, and
// what follows would reach the server as a command or header of its own. NUL and the other
// control characters have no place in a header either: servers cut the line at a NUL or
// reject it. Each becomes a space, TAB included, so the value keeps its length.
QString oneLine(QString value) {
    for (QChar& c : value)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    return value;
}

// A body line that begins with "." gets one more, which the server takes away again; else a
// line "." would end the message and the rest would be read as commands. Servers differ in
// whether a lone CR or LF ends a line, so those are sent as CR LF, which all agree on.
QString dotStuffed(const QString& body) {
    QString out;
    out.reserve(body.size() + 8);
    bool lineStart = true;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < body.size() && body[i + 1] == u'\n')
                ++i;
            out += crlf;
            lineStart = true;
            continue;
        }
        if (lineStart && c == u'.')
            out += u'.';
        out += c;
        lineStart = false;
    }
    return out;
}

// The separator between the first two fields of a date or time format (from the field
// that begins with one of startAt on), quotes left out.
QString separatorIn(const QString& format, const QString& startAt, const QString& fallback) {
    qsizetype i = 0;
    if (!startAt.isEmpty()) {
        while (i < format.size() && !startAt.contains(format[i]))
            ++i;
        if (i == format.size())
            i = 0;
    }
    while (i < format.size() && !format[i].isLetter())
        ++i;
    while (i < format.size() && format[i].isLetter())
        ++i;
    QString separator;
    for (; i < format.size() && !format[i].isLetter(); ++i) {
        if (format[i] != u'\'')
            separator += format[i];
    }
    if (separator.isEmpty())
        return fallback;
    const QString trimmed = separator.trimmed();
    return trimmed.isEmpty() ? QStringLiteral(" ") : trimmed;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

SmtpMailer::SmtpMailer(Copy copy) : copy_(std::move(copy)) {
}

SmtpLimits& SmtpLimits::production() {
    static SmtpLimits defaults;
    return defaults;
}

void SmtpMailer::SendEmail(const QString& MailServerName, const QString& FromName,
                           const QString& FromEmailAddress, const QString& ToName,
                           const QString& ToEMailAddress, const QString& EmailSubject,
                           const QString& EmailBodyofMessage) {
    if (FromName.isEmpty()) {
        platform::MsgBox(QStringLiteral("From Name cannot be blank"), platform::mb::OKOnly,
                         componentTitle);
        return;
    }
    if (FromEmailAddress.isEmpty()) {
        platform::MsgBox(QStringLiteral("From Email Address cannot be blank"), platform::mb::OKOnly,
                         componentTitle);
        return;
    }
    // Guarded: the waits run other handlers, which may unload the connection's owner.
    const QPointer<platform::TcpConnection> connection = &copy_.connection();

    const QString server = oneLine(MailServerName);
    const QString toName = oneLine(ToName.isEmpty() ? ToEMailAddress : ToName);
    const QString dateHeader =
        "DATE:  " + smtpDateText(platform::Clock::current().now(), QLocale()) + crlf;
    const QString mailLine = "MAIL FROM:  " + oneLine(FromEmailAddress) + crlf;
    const QString rcptLine = "RCPT TO:  " + oneLine(ToEMailAddress) + crlf;
    const QString headers = "FROM:  " + oneLine(FromName) + crlf + dateHeader +
                            "Error Object Mailer" + crlf + "TO:  " + toName + crlf +
                            "SUBJECT:  " + oneLine(EmailSubject) + crlf;
    const QString body = dotStuffed(EmailBodyofMessage) + crlf;

    if (copy_.beforeConnect)
        copy_.beforeConnect();
    if (!connection->isClosed())
        connection->Close();
    // Blanks around the name (a line break once) would only make the lookup fail.
    connection->setRemoteHost(server.trimmed());
    connection->setRemotePort(SmtpLimits::current().port());
    connection->Connect();

    const struct {
        QString code;
        QStringList sends;
    } dialogue[] = {
        {QStringLiteral("220"), {"HELO " + server + crlf}},
        {QStringLiteral("250"), {mailLine}},
        {QStringLiteral("250"), {rcptLine}},
        {QStringLiteral("250"), {QStringLiteral("DATA\r\n")}},
        {QStringLiteral("354"), {headers + crlf, body + crlf, QStringLiteral(".\r\n")}},
        {QStringLiteral("250"), {QStringLiteral("QUIT\r\n")}},
        {QStringLiteral("221"), {}},
    };
    // The message counts as delivered once the server has answered the data's end.
    const auto undelivered = [&](std::size_t step) {
        if (!copy_.undelivered || step > 5)
            return;
        OutgoingMessage message;
        message.kind = OutgoingMessage::Kind::Smtp;
        message.target = server.trimmed().toUtf8();
        message.port = SmtpLimits::current().port();
        message.from = oneLine(FromEmailAddress).trimmed().toUtf8();
        message.to = oneLine(ToEMailAddress).trimmed().toUtf8();
        message.body = (headers + crlf + body + crlf).toUtf8();
        copy_.undelivered(message);
    };
    for (std::size_t i = 0; i < std::size(dialogue); ++i) {
        const auto& step = dialogue[i];
        if (WaitFor(step.code)) {
            undelivered(i);
            return;
        }
        for (const QString& text : step.sends) {
            if (!connection)
                return;
            connection->SendData(text);
        }
    }
    if (connection)
        connection->Close();
    platform::MsgBox(QStringLiteral("Composed Error Email in SMTP."), platform::mb::OKOnly,
                     QStringLiteral("Operation Successful"));
}

bool SmtpMailer::WaitFor(const QString& ResponseCode) {
    // Monotonic, so a wait across midnight or a clock change measures the true time.
    QElapsedTimer start;
    start.start();
    const auto elapsed = [&start] { return start.nsecsElapsed() / 1e9; };
    // Read at every pass, so a limit shortened during the wait ends it.
    const auto timeLimit = [] { return SmtpLimits::current().replySeconds(); };
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);

    while (ReplyBuffer.isEmpty()) {
        const double passed = elapsed();
        handleEventsFor(wakeUp, timeLimit() - passed);
        if (passed > timeLimit()) {
            platform::MsgBox(
                QStringLiteral("SMTP Service error, Timed out while waiting for response"),
                platform::mb::Information, timeoutTitle);
            return true;
        }
    }
    while (ReplyBuffer.left(3) != ResponseCode) {
        handleEventsFor(wakeUp, timeLimit() - elapsed());
        if (elapsed() > timeLimit()) {
            platform::MsgBox("SMTP Service error, Improper response Code, Code Should have been:" +
                                 ResponseCode + "CodeRecieved" + ReplyBuffer,
                             platform::mb::Information, timeoutTitle);
            return true;
        }
    }
    ReplyBuffer.clear();
    return false;
}

QString smtpDateText(const QDateTime& when, const QLocale& locale) {
    const QDate date = when.date();
    const QTime time = when.time();
    const QString dateSeparator =
        separatorIn(locale.dateFormat(QLocale::ShortFormat), {}, QStringLiteral("/"));
    const QString timeSeparator = separatorIn(locale.timeFormat(QLocale::ShortFormat),
                                              QStringLiteral("hH"), QStringLiteral(":"));
    return locale.dayName(date.dayOfWeek(), QLocale::ShortFormat) + u',' + twoDigits(date.day()) +
           dateSeparator + locale.monthName(date.month(), QLocale::ShortFormat) + dateSeparator +
           QString::number(date.year()).rightJustified(4, u'0') + u' ' + twoDigits(time.hour()) +
           timeSeparator + twoDigits(time.minute()) + timeSeparator + twoDigits(time.second()) +
           QStringLiteral("-0600");
}

QString& lastReplySlot() {
    thread_local QString slot;
    return slot;
}

} // namespace trapwell::delivery
