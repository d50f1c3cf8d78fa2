#pragma once

#include <QList>
#include <QString>

namespace platform {

// The system log: syslog(3) under ident, facility LOG_USER, priority LOG_ERR.
void writeSystemLog(const QString& ident, const QString& message);

// Tests put a recorder in place of the system log: it keeps every entry instead.
class SystemLogRecorder {
public:
    struct Entry {
        QString ident;
        QString message;
    };
    SystemLogRecorder();
    ~SystemLogRecorder();
    SystemLogRecorder(const SystemLogRecorder&) = delete;
    SystemLogRecorder& operator=(const SystemLogRecorder&) = delete;

    const QList<Entry>& entries() const { return entries_; }

private:
    friend void writeSystemLog(const QString&, const QString&);
    QList<Entry> entries_;
    SystemLogRecorder* previous_;
};

} // namespace platform
