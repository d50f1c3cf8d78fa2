#include "platform/settingsstore.h"

#include "platform/classicerrors.h"
#include "platform/filedescriptor.h"
#include "platform/inidocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A settings file is a few hundred bytes; a bigger one is not ours to wade through (a 50 MB
// file would hold up every start for most of a minute).
constexpr qint64 maxSettingsFileSize = 1024 * 1024;

QString settingsFile(const QString& application) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           application + QStringLiteral(".ini");
}

// The file's document; a missing file is an empty one. A file that cannot be read (a
// folder, a FIFO, a device, no permission, over the size limit) raises the classic file
// error for what went wrong.
IniDocument readDocument(const QString& path) {
    // O_NONBLOCK: a FIFO planted under the name must not hang the program; it is refused.
    const FileDescriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        // No file, or no folder for it yet: nothing is stored.
        if (errno == ENOENT || errno == ENOTDIR)
            return IniDocument();
        raiseError(errorNumberFromErrno(errno));
    }
    const auto fail = [](int errnoValue) { raiseError(errorNumberFromErrno(errnoValue)); };
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        fail(errno);
    if (S_ISDIR(st.st_mode))
        fail(EISDIR);
    if (!S_ISREG(st.st_mode) || st.st_size > maxSettingsFileSize)
        fail(EACCES);
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, std::size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(errno);
        if (n == 0)
            break; // shrank while we read: what is there
        got += n;
    }
    bytes.truncate(got);
    return IniDocument(bytes);
}

} // namespace

SettingsStore& SettingsStore::production() {
    static IniSettingsStore iniStore;
    return iniStore;
}

QString IniSettingsStore::GetSetting(const QString& application, const QString& section,
                                     const QString& key, const QString& defaultValue) const {
    const IniDocument document = readDocument(settingsFile(application));
    // A damaged file is reported, not guessed at: the caller goes on with its defaults.
    if (document.isDamaged())
        raiseError(err::pathFileAccessError);
    return document.value(section, key).value_or(defaultValue);
}

void IniSettingsStore::SaveSetting(const QString& application, const QString& section,
                                   const QString& key, const QString& value) {
    const QString path = settingsFile(application);
    IniDocument document = readDocument(path);
    // The value already there needs no write.
    if (document.value(section, key) == value)
        return;
    // The file is the user's: one we cannot parse is never rewritten, lest the lines we do
    // not understand (and whatever follows them) be lost. The write is dropped without an
    // error, so a program that configures itself at start still starts; the next read of
    // the file reports it, and the user is told here where to look.
    if (document.isDamaged()) {
        qWarning("%s cannot be parsed and is left as it is: \"%s\" in [%s] is not saved",
                 qPrintable(path), qPrintable(key), qPrintable(section));
        return;
    }
    document.setValue(section, key, value);

    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        raiseError(err::pathFileAccessError);
    // Written beside the file and renamed over it: a failure leaves the old file whole.
    QSaveFile file(path);
    const QByteArray bytes = document.bytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        raiseError(file.error() == QFileDevice::ResourceError ? err::diskFull
                                                              : err::pathFileAccessError);
}

} // namespace platform
