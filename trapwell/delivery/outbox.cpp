#include "delivery/outbox.h"

#include "platform/filedescriptor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trapwell::delivery {

namespace {

const QByteArray magic = "Trapwell-Outbox: 1";
const QString suffix = QStringLiteral(".report");

QByteArray kindName(OutgoingMessage::Kind kind) {
    switch (kind) {
    case OutgoingMessage::Kind::HttpGet:
        return "http-get";
    case OutgoingMessage::Kind::HttpPost:
        return "http-post";
    case OutgoingMessage::Kind::Smtp:
        return "smtp";
    }
    return {};
}

// Header values never hold line breaks: the ones we write come from URLs and one-line
// addresses, but a stray one must not end the header block early.
QByteArray oneLine(QByteArray value) {
    return value.replace('\r', ' ').replace('\n', ' ');
}

QByteArray serialise(const OutgoingMessage& m, const QDateTime& now) {
    QByteArray out = magic + "\n";
    out += "Kind: " + kindName(m.kind) + "\n";
    out += "Created: " + now.toUTC().toString(Qt::ISODate).toLatin1() + "\n";
    out += "Target: " + oneLine(m.target) + "\n";
    for (const QByteArray& header : m.headers)
        out += "Header: " + oneLine(header) + "\n";
    if (m.kind == OutgoingMessage::Kind::Smtp) {
        out += "Port: " + QByteArray::number(m.port) + "\n";
        out += "From: " + oneLine(m.from) + "\n";
        out += "To: " + oneLine(m.to) + "\n";
    }
    if (m.notBefore.isValid())
        out += "Not-Before: " + m.notBefore.toUTC().toString(Qt::ISODateWithMs).toLatin1() + "\n";
    return out + "\n" + m.body;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, std::size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// Milliseconds since the epoch at the front of a report's name.
qint64 createdMsecs(const QString& path) {
    return QFileInfo(path).fileName().section(u'-', 0, 0).toLongLong();
}

// Writes the report named final (in its folder) through a hidden file renamed over it, so it
// is visible only when complete.
bool writeReport(const QString& final, const OutgoingMessage& message, const QDateTime& created) {
    const QFileInfo info(final);
    const QByteArray tempPath = QFile::encodeName(info.path() + QStringLiteral("/.") +
                                                  info.completeBaseName() + QStringLiteral(".tmp"));
    platform::FileDescriptor fd(
        ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid())
        return false;
    const bool written = writeAll(fd.get(), serialise(message, created)) && ::fsync(fd.get()) == 0;
    if (!fd.close() || !written ||
        ::rename(tempPath.constData(), QFile::encodeName(final).constData()) != 0) {
        ::unlink(tempPath.constData());
        return false;
    }
    return true;
}

} // namespace

Outbox::Outbox(QString folder) : folder_(std::move(folder)) {
}

Outbox::Outbox(QString folder, Limits limits) : folder_(std::move(folder)), limits_(limits) {
}

QString Outbox::defaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/trapwell/outbox");
}

QString Outbox::store(const OutgoingMessage& message, const QDateTime& now) {
    if (!QDir().mkpath(folder_))
        return {};
    ::chmod(QFile::encodeName(folder_).constData(), 0700);
    static std::atomic<unsigned> counter{0};
    const QString name = QStringLiteral("%1-%2-%3")
                             .arg(now.toMSecsSinceEpoch(), 16, 10, QLatin1Char('0'))
                             .arg(::getpid())
                             .arg(counter++);
    const QString final = folder_ + u'/' + name + suffix;
    if (!writeReport(final, message, now))
        return {};
    prune(now);
    return QFile::exists(final) ? final : QString();
}

bool Outbox::replace(const QString& path, const OutgoingMessage& message) {
    return writeReport(path, message, QDateTime::fromMSecsSinceEpoch(createdMsecs(path)));
}

QStringList Outbox::pending() const {
    QStringList paths;
    const QStringList names =
        QDir(folder_).entryList({u'*' + suffix}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names)
        paths << folder_ + u'/' + name;
    return paths;
}

std::optional<OutgoingMessage> Outbox::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray all = file.readAll();
    const qsizetype end = all.indexOf("\n\n");
    if (!all.startsWith(magic + "\n") || end < 0)
        return std::nullopt;
    OutgoingMessage m;
    m.body = all.mid(end + 2);
    bool kindSeen = false;
    for (const QByteArray& line : all.left(end).split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        if (colon < 0)
            continue;
        const QByteArray name = line.left(colon), value = line.mid(colon + 2);
        if (name == "Kind") {
            kindSeen = true;
            if (value == "http-get")
                m.kind = OutgoingMessage::Kind::HttpGet;
            else if (value == "http-post")
                m.kind = OutgoingMessage::Kind::HttpPost;
            else if (value == "smtp")
                m.kind = OutgoingMessage::Kind::Smtp;
            else
                return std::nullopt;
        } else if (name == "Target") {
            m.target = value;
        } else if (name == "Header") {
            m.headers << value;
        } else if (name == "Port") {
            m.port = quint16(value.toUInt());
        } else if (name == "From") {
            m.from = value;
        } else if (name == "To") {
            m.to = value;
        } else if (name == "Not-Before") {
            m.notBefore = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
        }
    }
    if (!kindSeen || m.target.isEmpty())
        return std::nullopt;
    return m;
}

void Outbox::prune(const QDateTime& now) const {
    QStringList paths = pending();
    const qint64 oldest = now.addDays(-limits_.days).toMSecsSinceEpoch();
    qint64 total = 0;
    for (const QString& p : paths)
        total += QFileInfo(p).size();
    // Oldest first: too old, then beyond the count or the size.
    while (!paths.isEmpty() && (createdMsecs(paths.first()) < oldest ||
                                paths.size() > limits_.reports || total > limits_.bytes)) {
        total -= QFileInfo(paths.first()).size();
        QFile::remove(paths.takeFirst());
    }
}

} // namespace trapwell::delivery
