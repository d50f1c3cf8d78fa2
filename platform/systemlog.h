#pragma once

#include "platform/service.h"

#include <QString>

namespace platform {

// The system log, or a test's recorder. Each module has its own (service.h).
class SystemLog : public Service<SystemLog> {
public:
    virtual ~SystemLog() = default;
    virtual void write(const QString& ident, const QString& message) = 0;
    // syslog(3) under ident, facility LOG_USER, priority LOG_ERR.
    static SystemLog& production();
};

inline void writeSystemLog(const QString& ident, const QString& message) {
    SystemLog::current().write(ident, message);
}

} // namespace platform
