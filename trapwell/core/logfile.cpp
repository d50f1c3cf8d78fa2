#include "core/logfile.h"

#include "platform/classicerrors.h"
#include "platform/filedescriptor.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trapwell::core {

namespace {

[[noreturn]] void raiseFromErrno(int errnoValue = errno) {
    platform::raiseError(platform::errorNumberFromErrno(errnoValue));
}

// Writes bytes to fd; how many went, with errno set when the disk refused the rest.
qsizetype writeAll(int fd, const char* data, qsizetype size) {
    qsizetype done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, std::size_t(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        done += n;
    }
    return done;
}

void requirePath(const QByteArray& encodedPath) {
    if (encodedPath.isEmpty())
        platform::raiseError(platform::err::badFileNameOrNumber);
}

// A hidden name beside path for its new content: ".Error.log.<random>.tmp".
QByteArray temporaryBeside(const QByteArray& encodedPath) {
    const qsizetype slash = encodedPath.lastIndexOf('/');
    return encodedPath.left(slash + 1) + '.' + encodedPath.mid(slash + 1) + '.' +
           QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
}

// An existing file at path must be one we could have written in place: a symbolic link (one
// planted to make us overwrite another file of the user) is refused like a file we may not
// write, and so is a folder or a device.
void refuseAnythingButAWritableFile(const QByteArray& encodedPath) {
    struct stat st {};
    if (::lstat(encodedPath.constData(), &st) != 0) {
        if (errno == ENOENT)
            return;
        raiseFromErrno();
    }
    if (S_ISLNK(st.st_mode))
        raiseFromErrno(ELOOP);
    if (S_ISDIR(st.st_mode))
        raiseFromErrno(EISDIR);
    if (!S_ISREG(st.st_mode))
        raiseFromErrno(EACCES);
    if (::access(encodedPath.constData(), W_OK) != 0)
        raiseFromErrno();
}

} // namespace

void LogFile::appendBytes(const QByteArray& encodedPath, const char* bytes, qsizetype size) {
    requirePath(encodedPath);
    // O_NOFOLLOW: a link planted where the log goes must not make us append to its target.
    // O_NONBLOCK: a FIFO planted there must not hang the host (it is refused below).
    platform::FileDescriptor fd(
        ::open(encodedPath.constData(),
               O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666));
    if (fd.get() < 0)
        raiseFromErrno();
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        raiseFromErrno();
    if (!S_ISREG(st.st_mode))
        raiseFromErrno(EACCES);
    if (const qsizetype done = writeAll(fd.get(), bytes, size); done < size) {
        // Taken back to the last whole line: appended, our bytes end at the file's offset.
        const int failure = errno;
        if (const off_t end = ::lseek(fd.get(), 0, SEEK_CUR); done > 0 && end >= done)
            (void)::ftruncate(fd.get(), end - done);
        raiseFromErrno(failure);
    }
    if (!fd.close())
        raiseFromErrno();
}

void LogFile::rewrite(const QString& path, const QString& text) {
    const QByteArray encodedPath = QFile::encodeName(path);
    requirePath(encodedPath);
    refuseAnythingButAWritableFile(encodedPath);
    const QByteArray bytes = text.toLocal8Bit();

    // The new content goes to a fresh file beside the old one and is renamed over it: on a
    // full disk the previous report stays whole, and a reader sees either report, never a
    // mix. O_EXCL creates the file itself, so no link is followed; 0666 keeps the umask's
    // say over the permissions, as a file written in place had.
    QByteArray temporary;
    int created = -1;
    for (int attempt = 0; created < 0 && attempt < 16; ++attempt) {
        temporary = temporaryBeside(encodedPath);
        created = ::open(temporary.constData(),
                         O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (created < 0 && errno != EEXIST)
            raiseFromErrno();
    }
    if (created < 0)
        raiseFromErrno(EEXIST);
    platform::FileDescriptor fd(created);
    const auto discard = [&](int errnoValue) {
        ::unlink(temporary.constData());
        raiseFromErrno(errnoValue);
    };
    // fsync: a rename that reaches the disk before the data would leave an empty report
    // after a power cut, the one fault the old in-place write survived.
    if (writeAll(fd.get(), bytes.constData(), bytes.size()) < bytes.size() ||
        ::fsync(fd.get()) != 0)
        discard(errno);
    if (!fd.close())
        discard(errno);
    if (::rename(temporary.constData(), encodedPath.constData()) != 0)
        discard(errno);
}

void LogFile::remove(const QByteArray& encodedPath) {
    if (::unlink(encodedPath.constData()) != 0 && errno != ENOENT)
        raiseFromErrno();
}

} // namespace trapwell::core
