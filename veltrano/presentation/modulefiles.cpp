#include "presentation/modulefiles.h"

#include "presentation/options.h"
#include "presentation/wordsets.h"
#include "tracing/programfolder.h"

#include "platform/classicerrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace veltrano {

namespace {

QString fileName(int number) {
    return QString::number(number) + QStringLiteral(".txt");
}

// The set's folder name (data-de), data for English and for a code of no set offered.
QLatin1String setFolder(const QString& setCode) {
    for (const WordSet& set : wordSets)
        if (setCode == QLatin1String(set.code))
            return QLatin1String(set.folder);
    return QLatin1String(wordSets.front().folder);
}

} // namespace

QString ModuleFiles::userFolder(const QString& setCode) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/veltrano/") + setFolder(setCode);
}

QString ModuleFiles::userPath(int number, const QString& setCode) {
    return userFolder(setCode) + u'/' + fileName(number);
}

QString ModuleFiles::userFolder() {
    return userFolder(Options::meaningsIn());
}

QString ModuleFiles::userPath(int number) {
    return userPath(number, Options::meaningsIn());
}

QString ModuleFiles::shippedFolder(const QString& setCode) {
    return ProgramFolder::path() + u'/' + setFolder(setCode);
}

QString ModuleFiles::shippedPath(int number, const QString& setCode) {
    const QString program = ProgramFolder::path() + u'/';
    const QString candidate = program + setFolder(setCode) + u'/' + fileName(number);
    if (QFileInfo::exists(candidate))
        return candidate;
    return program + QLatin1String(wordSets.front().folder) + u'/' + fileName(number);
}

QString ModuleFiles::path(int number, const QString& setCode) {
    const QString own = userPath(number, setCode);
    return QFileInfo::exists(own) ? own : shippedPath(number, setCode);
}

QString ModuleFiles::makeUserCopy(int number, const QString& setCode) {
    const QString own = userPath(number, setCode);
    if (QFileInfo::exists(own))
        return own;
    if (!QDir().mkpath(userFolder(setCode)))
        platform::raiseError(platform::err::pathFileAccessError);
    const QString shipped = shippedPath(number, setCode);
    if (QFileInfo(shipped).isFile()) {
        if (!QFile::copy(shipped, own))
            platform::raiseError(platform::err::pathFileAccessError);
        // Copies keep the installed file's read-only mode.
        QFile::setPermissions(own, QFile::permissions(own) | QFile::WriteOwner | QFile::ReadOwner);
    } else {
        QFile empty(own);
        if (!empty.open(QIODevice::WriteOnly))
            platform::raiseError(platform::err::pathFileAccessError);
    }
    return own;
}

} // namespace veltrano
