#include "platform/singleinstance.h"

#include "platform/filedescriptor.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int handOverMs = 2000;
constexpr QDataStream::Version streamVersion = QDataStream::Qt_6_0;

// The session's runtime folder, or a folder of this user's own in /tmp; empty when neither
// is to be had.
QString privateFolder(const QString& name) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime;
    const uid_t uid = ::getuid();
    const QByteArray path = "/tmp/" + QFile::encodeName(name) + '-' + QByteArray::number(uid);
    ::mkdir(path.constData(), 0700);
    // Someone else's folder, or a link to one, would let them answer in this program's place.
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != uid || (status.st_mode & 077) != 0)
        return {};
    return QFile::decodeName(path);
}

// Hands the message to the copy listening at path; false when no one listens there.
bool handOver(const QString& path, const QStringList& message) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(handOverMs))
        return false;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << message;
    socket.write(bytes);
    // Nothing runs the event loop here that would send it later.
    socket.waitForBytesWritten(handOverMs);
    return true;
}

} // namespace

SingleInstance::SingleInstance(const QString& name, const QString& scope, QObject* parent)
    : QObject(parent) {
    const QString folder = privateFolder(name);
    if (!folder.isEmpty())
        path_ =
            folder + u'/' + name + u'-' +
            QString::fromLatin1(QCryptographicHash::hash(scope.toUtf8(), QCryptographicHash::Sha1)
                                    .toHex()
                                    .left(16));
}

bool SingleInstance::claim(const QStringList& message) {
    if (path_.isEmpty())
        return true;
    // Held from the look at the socket to listening on it, so that of two starts at the same
    // moment the second finds the first listening, and no start removes a socket that
    // another has just made. The system lets go of it when its holder ends, however it ends.
    const FileDescriptor lock(::open(QFile::encodeName(path_ + QStringLiteral(".lock")).constData(),
                                     O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (::flock(lock.get(), LOCK_EX) != 0)
        return true;
    if (handOver(path_, message))
        return false;
    QLocalServer::removeServer(path_);
    server_ = new QLocalServer(this);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
    server_->listen(path_);
    return true;
}

void SingleInstance::accept() {
    while (QLocalSocket* peer = server_->nextPendingConnection()) {
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] { read(peer); });
    }
}

void SingleInstance::read(QLocalSocket* peer) {
    QDataStream in(peer);
    in.setVersion(streamVersion);
    in.startTransaction();
    QStringList message;
    in >> message;
    if (in.commitTransaction())
        emit received(message);
}

} // namespace platform
