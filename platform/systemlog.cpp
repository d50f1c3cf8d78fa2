#include "platform/systemlog.h"

#include <syslog.h>

namespace platform {

namespace {
SystemLogRecorder* activeRecorder = nullptr;
} // namespace

void writeSystemLog(const QString& ident, const QString& message) {
    if (activeRecorder) {
        activeRecorder->entries_.append({ident, message});
        return;
    }
    // openlog keeps the pointer, so the bytes must live until closelog.
    const QByteArray identBytes = ident.toLocal8Bit();
    openlog(identBytes.constData(), LOG_PID, LOG_USER);
    syslog(LOG_ERR, "%s", message.toLocal8Bit().constData());
    closelog();
}

SystemLogRecorder::SystemLogRecorder() : previous_(activeRecorder) {
    activeRecorder = this;
}

SystemLogRecorder::~SystemLogRecorder() {
    activeRecorder = previous_;
}

} // namespace platform
