#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace trapwell::delivery {

// A message exactly as it was to leave the machine, kept so it can be sent again.
struct OutgoingMessage {
    enum class Kind { HttpGet, HttpPost, Smtp };
    Kind kind = Kind::HttpGet;
    QByteArray target;         // the URL, or the SMTP server's name
    QList<QByteArray> headers; // HTTP POST: complete header lines
    quint16 port = 25;         // SMTP
    QByteArray from, to;       // SMTP envelope
    QByteArray body;           // POST body, or the SMTP data (headers, empty line, body)
    // Kept: not to be sent before then, as the receiver asked (Retry-After); null when free.
    QDateTime notBefore;
};

// Reports that could not be delivered, one file per report in
// $XDG_STATE_HOME/trapwell/outbox/, each written atomically with mode 0600. Bounded: at most
// 30 reports and 1 MB, none older than 30 days; the oldest go first. Files are named by
// creation time, so listing order is age order. Safe to use from several threads and
// processes: a file is visible only when complete, and removal is by name.
class Outbox {
public:
    struct Limits {
        int reports = 30;
        qint64 bytes = 1024 * 1024;
        int days = 30;
    };

    explicit Outbox(QString folder = defaultFolder());
    Outbox(QString folder, Limits limits);
    static QString defaultFolder();
    const QString& folder() const { return folder_; }

    // Keeps message; returns its file, empty when it could not be written (a full disk loses
    // the report, as it would have been lost before).
    QString store(const OutgoingMessage& message, const QDateTime& now);
    // Writes message over the kept report at path, which keeps its place in the order; false
    // when it could not be written (the report stays as it was).
    static bool replace(const QString& path, const OutgoingMessage& message);
    // Paths of the kept reports, oldest first.
    QStringList pending() const;
    static std::optional<OutgoingMessage> read(const QString& path);
    // Drops what is beyond the limits at now.
    void prune(const QDateTime& now) const;

private:
    QString folder_;
    Limits limits_;
};

} // namespace trapwell::delivery
