#include "core/tracelog.h"

#include "core/logfile.h"

#include <QFile>

namespace trapwell::core {

void TraceLog::restart(const QString& path) {
    path_ = path;
    encodedPath_ = QFile::encodeName(path);
    LogFile::remove(encodedPath_);
}

void TraceLog::append(const QString& line) const {
    LogFile::append(encodedPath_, line + QStringLiteral("\r\n"));
}

} // namespace trapwell::core
