#pragma once

#include <trapwell/sysobj.h>

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

class QObject;

namespace trapwell::core {

// Composes the four sections of an error report. A line whose value cannot be had (a member
// the host's object lacks, say) is left out and the section goes on without it.
class ReportComposer {
public:
    // What the error section shows of the error being handled.
    struct ErrorFacts {
        std::int32_t errorType = 0; // 0 application, 1 database
        QObject* app = nullptr;     // the host's application object, or none
        QString customMessage;
        QDateTime now;
        std::int32_t errNum = 0;
        QString procName;
        std::int32_t errLine = 0; // as the host passed it
        QString errDesc;
        const std::vector<QString>* callStack = nullptr;
        std::int32_t stackDepth = 0;
        std::function<QString()> parameters; // the top procedure's listing
        QString currentOperation;
        QString currentDirectory;
    };

    static QString errorSection(const ErrorFacts& facts);
    static QString appSection(QObject* app);
    static QString sysSection(ISysObj* sys);
    static QString dbSection(QObject* connection);
};

} // namespace trapwell::core
