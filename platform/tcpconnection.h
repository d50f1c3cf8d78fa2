#pragma once

#include <QObject>
#include <QString>
#include <QStringDecoder>
#include <QTcpSocket>

namespace platform {

// A TCP client connection with the few operations the SMTP mailer needs. Received data is
// announced by DataArrival on the thread that owns the connection (the UI thread).
class TcpConnection : public QObject {
    Q_OBJECT
public:
    explicit TcpConnection(QObject* parent = nullptr);

    // True when there is no connection, nor one being made or being shut down.
    bool isClosed() const;
    // Drops the connection at once.
    void Close();
    void setRemoteHost(const QString& host);
    void setRemotePort(quint16 port);
    // Starts a new connection from any free local port to the remote host and port and
    // returns at once. A failure to connect is not reported: the connection simply stays
    // silent, so whoever waits for a reply times out.
    void Connect();
    // Queues text for sending, as UTF-8 (plain ASCII stays byte for byte); text sent while
    // still connecting goes out once connected.
    void SendData(const QString& text);
    // Everything received since the last call, decoded as UTF-8. A character split between
    // two arrivals is completed by the next call.
    QString GetData();

signals:
    void DataArrival();

private:
    QTcpSocket socket_;
    QStringDecoder decoder_{QStringDecoder::Utf8};
    QString host_;
    quint16 port_ = 0;
};

} // namespace platform
