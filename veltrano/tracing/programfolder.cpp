#include "tracing/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

namespace veltrano {

namespace {
QString overrideFolder;
} // namespace

QString ProgramFolder::path() {
    return overrideFolder.isEmpty() ? QCoreApplication::applicationDirPath() : overrideFolder;
}

QString ProgramFolder::logFolder() {
    const QString folder = path();
    if (::access(QFile::encodeName(folder).constData(), W_OK) == 0)
        return folder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/veltrano");
    QDir().mkpath(data);
    return data;
}

ProgramFolder::Override::Override(QString folder) : previous_(overrideFolder) {
    overrideFolder = std::move(folder);
}

ProgramFolder::Override::~Override() {
    overrideFolder = previous_;
}

} // namespace veltrano
