#pragma once

// A small HTTP/1.1 server on 127.0.0.1 for delivery tests, answered from the test's event
// loop: it records each request whole and answers with the next scripted answer (or the
// default one). Listens on a port the system chooses, or on one a test names to bring a
// "down" server up again. And the request limits a test chooses.

#include "platform/httpget.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

#include <chrono>
#include <deque>

namespace platform {

class LoopbackHttp : public QObject {
public:
    struct Request {
        QByteArray method, target;
        QMap<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };
    struct Answer {
        int status = 200;
        QList<QByteArray> headers;
        QByteArray body = "ok";
    };

    // Listens on port (0: any free one); port() tells which.
    bool listen(quint16 port = 0) {
        connect(&server_, &QTcpServer::newConnection, this, &LoopbackHttp::accept,
                Qt::UniqueConnection);
        return server_.listen(QHostAddress::LocalHost, port);
    }
    void close() { server_.close(); }
    quint16 port() const { return server_.serverPort(); }
    QByteArray url(const QByteArray& path = "/") const {
        return "http://127.0.0.1:" + QByteArray::number(port()) + path;
    }

    void script(Answer answer) { scripted_.push_back(std::move(answer)); }
    Answer defaultAnswer;
    QList<Request> requests;

private:
    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }
    void read(QTcpSocket* socket) {
        QByteArray& buffer = buffers_[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        Request request;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> first = lines.first().trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers[lines[i].left(colon).trimmed().toLower()] =
                    lines[i].mid(colon + 1).trimmed();
        }
        const qsizetype length = request.headers.value("content-length", "0").toLongLong();
        if (buffer.size() < end + 4 + length)
            return;
        request.body = buffer.mid(end + 4, length);
        buffers_.remove(socket);
        requests << request;

        Answer answer = defaultAnswer;
        if (!scripted_.empty()) {
            answer = scripted_.front();
            scripted_.pop_front();
        }
        QByteArray out = "HTTP/1.1 " + QByteArray::number(answer.status) + " X\r\n";
        for (const QByteArray& header : answer.headers)
            out += header + "\r\n";
        out += "Content-Length: " + QByteArray::number(answer.body.size()) +
               "\r\nConnection: close\r\n\r\n" + answer.body;
        socket->write(out);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QMap<QTcpSocket*, QByteArray> buffers_;
    std::deque<Answer> scripted_;
};

// The limits of every HTTP request while this lives.
class TestHttpLimits final : public HttpLimits {
public:
    explicit TestHttpLimits(std::chrono::milliseconds total,
                            std::chrono::milliseconds connect = std::chrono::seconds(1))
        : total_(total), connect_(connect) {}
    std::chrono::milliseconds connect() const override { return connect_; }
    std::chrono::milliseconds total() const override { return total_; }

private:
    std::chrono::milliseconds total_, connect_;
    Override use_{*this};
};

} // namespace platform
