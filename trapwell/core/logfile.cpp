#include "core/logfile.h"

#include "platform/classicerrors.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace trapwell::core {

namespace {

[[noreturn]] void raiseFromErrno() {
    platform::raiseError(platform::errorNumberFromErrno(errno));
}

void writeFile(const QByteArray& encodedPath, int flags, const QString& text) {
    if (encodedPath.isEmpty())
        platform::raiseError(platform::err::badFileNameOrNumber);
    const QByteArray bytes = text.toLocal8Bit();
    const int fd = ::open(encodedPath.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666);
    if (fd < 0)
        raiseFromErrno();
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, std::size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            raiseFromErrno();
        }
        data += n;
        left -= n;
    }
    if (::close(fd) != 0)
        raiseFromErrno();
}

} // namespace

void LogFile::append(const QByteArray& encodedPath, const QString& text) {
    writeFile(encodedPath, O_APPEND, text);
}

void LogFile::rewrite(const QString& path, const QString& text) {
    writeFile(QFile::encodeName(path), O_TRUNC, text);
}

void LogFile::remove(const QByteArray& encodedPath) {
    if (::unlink(encodedPath.constData()) != 0 && errno != ENOENT)
        raiseFromErrno();
}

} // namespace trapwell::core
