#include "core/tracelog.h"

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
} // namespace

void TraceLog::restart(const QString& path) {
    path_ = path;
    encodedPath_ = QFile::encodeName(path);
    if (::unlink(encodedPath_.constData()) != 0 && errno != ENOENT)
        raiseFromErrno();
}

void TraceLog::append(const QString& line) const {
    if (encodedPath_.isEmpty())
        platform::raiseError(platform::err::badFileNameOrNumber);
    QByteArray bytes = line.toLocal8Bit();
    bytes += "\r\n";
    const int fd =
        ::open(encodedPath_.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
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

} // namespace trapwell::core
