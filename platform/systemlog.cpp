#include "platform/systemlog.h"

#include <syslog.h>

namespace platform {

namespace {
class Syslog final : public SystemLog {
public:
    void write(const QString& ident, const QString& message) override {
        // openlog keeps the pointer, so the bytes must live until closelog.
        const QByteArray identBytes = ident.toLocal8Bit();
        openlog(identBytes.constData(), LOG_PID, LOG_USER);
        syslog(LOG_ERR, "%s", message.toLocal8Bit().constData());
        closelog();
    }
};
} // namespace

SystemLog& SystemLog::production() {
    static Syslog syslog;
    return syslog;
}

} // namespace platform
