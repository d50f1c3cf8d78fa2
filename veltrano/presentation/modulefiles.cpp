#include "presentation/modulefiles.h"

#include "presentation/wordsets.h"
#include "tracing/programfolder.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace veltrano {

namespace {
QString fileName(int number) {
    return QString::number(number) + QStringLiteral(".txt");
}
} // namespace

QString ModuleFiles::userFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/veltrano/data");
}

QString ModuleFiles::userPath(int number) {
    return userFolder() + u'/' + fileName(number);
}

QString ModuleFiles::shippedPath(int number, const QString& setCode) {
    const QString program = ProgramFolder::path();
    for (const WordSet& set : wordSets) {
        if (setCode != QLatin1String(set.code))
            continue;
        const QString candidate =
            program + u'/' + QLatin1String(set.folder) + u'/' + fileName(number);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return program + QStringLiteral("/data/") + fileName(number);
}

QString ModuleFiles::path(int number, const QString& setCode) {
    const QString own = userPath(number);
    return QFileInfo::exists(own) ? own : shippedPath(number, setCode);
}

} // namespace veltrano
