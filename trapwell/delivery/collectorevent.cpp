#include "delivery/collectorevent.h"

#include "platform/gzip.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>
#include <QUuid>

namespace trapwell::delivery {

namespace {

const QString procedureCategory = QStringLiteral("procedure");
constexpr qsizetype longText = 8 * 1024;

QJsonObject fieldsObject(const core::CollectorReport::Fields& fields, const QString& type) {
    QJsonObject o{{QStringLiteral("type"), type}};
    for (const auto& [label, value] : fields)
        o.insert(label, value);
    return o;
}

double seconds(std::int64_t ms) {
    return double(ms) / 1000.0;
}

QByteArray compact(const QJsonObject& o) {
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QString shortened(const QString& text, qsizetype limit) {
    return text.size() <= limit ? text : text.left(limit) + QStringLiteral("…");
}

} // namespace

std::optional<CollectorEvent::Dsn> CollectorEvent::parseDsn(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.userName().isEmpty() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return std::nullopt;
    QString path = url.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString project = path.mid(slash + 1);
    if (slash < 0 || project.isEmpty())
        return std::nullopt;
    QUrl target = url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                               QUrl::RemoveFragment);
    target.setPath(path.left(slash) + QStringLiteral("/api/") + project +
                   QStringLiteral("/envelope/"));
    return Dsn{url.userName().toUtf8(), target.toEncoded(), address.toUtf8()};
}

QJsonObject CollectorEvent::event(const core::CollectorReport& r, const QByteArray& eventId) {
    QJsonArray frames;
    for (qsizetype i = 0; i < r.stack.size(); ++i) {
        QJsonObject frame{{QStringLiteral("function"), r.stack[i]},
                          {QStringLiteral("in_app"), true}};
        if (i == r.stack.size() - 1) {
            if (r.errLine != 0)
                frame.insert(QStringLiteral("lineno"), r.errLine);
            QJsonObject vars;
            for (const core::CollectorReport::Parameter& p : r.parameters)
                vars.insert(p.name, p.value);
            if (!vars.isEmpty())
                frame.insert(QStringLiteral("vars"), vars);
        }
        frames.append(frame);
    }
    QJsonObject exception{{QStringLiteral("type"), QStringLiteral("Error %1").arg(r.errNum)},
                          {QStringLiteral("value"), r.errDesc}};
    if (!frames.isEmpty())
        exception.insert(QStringLiteral("stacktrace"),
                         QJsonObject{{QStringLiteral("frames"), frames}});

    QJsonArray crumbs;
    for (const core::Breadcrumbs::Entry& b : r.breadcrumbs) {
        QJsonObject crumb{{QStringLiteral("timestamp"), seconds(b.msSinceEpoch)},
                          {QStringLiteral("category"), procedureCategory},
                          {QStringLiteral("message"), b.procedure}};
        if (b.repeats > 1)
            crumb.insert(QStringLiteral("data"),
                         QJsonObject{{QStringLiteral("repeats"), qint64(b.repeats)}});
        crumbs.append(crumb);
    }

    QJsonObject e{
        {QStringLiteral("event_id"), QString::fromLatin1(eventId)},
        {QStringLiteral("timestamp"), seconds(r.time.toMSecsSinceEpoch())},
        {QStringLiteral("platform"), QStringLiteral("native")},
        {QStringLiteral("level"), QStringLiteral("error")},
        {QStringLiteral("logger"), QStringLiteral("Trapwell")},
        {QStringLiteral("exception"),
         QJsonObject{{QStringLiteral("values"), QJsonArray{exception}}}},
        {QStringLiteral("contexts"),
         QJsonObject{{QStringLiteral("app"), fieldsObject(r.app, QStringLiteral("app"))},
                     {QStringLiteral("system"), fieldsObject(r.system, QStringLiteral("os"))}}},
        {QStringLiteral("tags"),
         QJsonObject{{QStringLiteral("error.number"), QString::number(r.errNum)}}},
    };
    if (!crumbs.isEmpty())
        e.insert(QStringLiteral("breadcrumbs"), QJsonObject{{QStringLiteral("values"), crumbs}});
    if (!r.release.isEmpty())
        e.insert(QStringLiteral("release"), r.release);
    if (!r.customMessage.isEmpty())
        e.insert(QStringLiteral("message"),
                 QJsonObject{{QStringLiteral("formatted"), r.customMessage}});
    if (!r.dbSection.isEmpty())
        e.insert(QStringLiteral("extra"), QJsonObject{{QStringLiteral("Database"), r.dbSection}});
    return e;
}

QByteArray CollectorEvent::boundedEvent(const core::CollectorReport& report,
                                        const QByteArray& eventId, qsizetype limit) {
    QByteArray json = compact(event(report, eventId));
    if (json.size() <= limit)
        return json;
    core::CollectorReport r = report;
    // Breadcrumbs are the least telling part: the oldest half goes until it fits.
    while (!r.breadcrumbs.empty() && json.size() > limit) {
        r.breadcrumbs.erase(r.breadcrumbs.begin(),
                            r.breadcrumbs.begin() + qsizetype((r.breadcrumbs.size() + 1) / 2));
        json = compact(event(r, eventId));
    }
    if (json.size() > limit) {
        r.errDesc = shortened(r.errDesc, longText);
        r.customMessage = shortened(r.customMessage, longText);
        r.dbSection = shortened(r.dbSection, longText);
        for (core::CollectorReport::Parameter& p : r.parameters)
            p.value = shortened(p.value, 1024);
        for (auto* fields : {&r.app, &r.system})
            for (auto& field : *fields)
                field.second = shortened(field.second, 1024);
        for (QString& name : r.stack)
            name = shortened(name, 256);
        json = compact(event(r, eventId));
    }
    // Last resort: the outermost frames, keeping the innermost, where the error happened.
    while (r.stack.size() > 1 && json.size() > limit) {
        r.stack.remove(0, std::max<qsizetype>(1, r.stack.size() / 4));
        json = compact(event(r, eventId));
    }
    return json;
}

OutgoingMessage CollectorEvent::message(const core::CollectorReport& report, qsizetype limit) {
    OutgoingMessage m;
    m.kind = OutgoingMessage::Kind::HttpPost;
    if (const std::optional<Dsn> dsn = parseDsn(report.address)) {
        const QByteArray eventId = QUuid::createUuid().toByteArray(QUuid::Id128);
        const QByteArray event = boundedEvent(report, eventId, limit);
        const QByteArray sentAt = report.time.toUTC().toString(Qt::ISODateWithMs).toUtf8();
        const QByteArray envelope =
            compact({{QStringLiteral("event_id"), QString::fromLatin1(eventId)},
                     {QStringLiteral("dsn"), QString::fromUtf8(dsn->text)},
                     {QStringLiteral("sent_at"), QString::fromUtf8(sentAt)}}) +
            "\n" +
            compact({{QStringLiteral("type"), QStringLiteral("event")},
                     {QStringLiteral("length"), event.size()}}) +
            "\n" + event + "\n";
        m.target = dsn->envelopeUrl;
        m.headers = {"Content-Type: application/x-sentry-envelope", "Content-Encoding: gzip",
                     "X-Sentry-Auth: Sentry sentry_version=7, sentry_client=trapwell/1.0, "
                     "sentry_key=" +
                         dsn->publicKey};
        m.body = platform::gzipCompress(envelope);
        return m;
    }
    // The names the report's sections have always had when posted.
    m.target = report.address.toUtf8();
    m.headers = {"Content-Type: application/json"};
    m.body = compact({{QStringLiteral("ErrDetail"), report.errorSection},
                      {QStringLiteral("AppInfo"), report.appSection},
                      {QStringLiteral("SysInfo"), report.sysSection},
                      {QStringLiteral("DBInfo"), report.dbSection}});
    return m;
}

} // namespace trapwell::delivery
