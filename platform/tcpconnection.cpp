#include "platform/tcpconnection.h"

namespace platform {

TcpConnection::TcpConnection(QObject* parent) : QObject(parent), socket_(this) {
    connect(&socket_, &QTcpSocket::readyRead, this, &TcpConnection::DataArrival);
}

bool TcpConnection::isClosed() const {
    return socket_.state() == QAbstractSocket::UnconnectedState;
}

void TcpConnection::Close() {
    // Whatever is still queued is handed to the system first; abort would drop it.
    socket_.flush();
    socket_.abort();
}

void TcpConnection::setRemoteHost(const QString& host) {
    host_ = host;
}

void TcpConnection::setRemotePort(quint16 port) {
    port_ = port;
}

void TcpConnection::Connect() {
    socket_.abort();
    decoder_.resetState();
    // Binding nothing leaves the local port to the system.
    socket_.connectToHost(host_, port_);
}

void TcpConnection::SendData(const QString& text) {
    socket_.write(text.toUtf8());
}

QString TcpConnection::GetData() {
    return decoder_(socket_.readAll());
}

} // namespace platform
