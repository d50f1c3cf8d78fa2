#pragma once

// Real peers on loopback for tests. A server binds port 0 and reports the port it got, so no
// other process can take the port between a probe and the server's start.

#include "platform/filedescriptor.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

// A server process of the test's own; stopping it stops exactly that process.
class TestPeer {
public:
    // Starts program and reads the port from the first line on channel that matches
    // portPattern (its first capture), waiting up to a minute for it; port() is 0 when none
    // came.
    TestPeer(const QString& program, const QStringList& args,
             const QString& portPattern = QStringLiteral("^(\\d+)$"),
             QProcess::ProcessChannel channel = QProcess::StandardOutput) {
        const QRegularExpression portLine(portPattern);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
        process_.setProcessEnvironment(env);
        process_.setReadChannel(channel);
        process_.start(program, args);
        for (QDeadlineTimer deadline(60000); port_ == 0 && !deadline.hasExpired();) {
            if (!process_.canReadLine() &&
                !process_.waitForReadyRead(int(deadline.remainingTime())))
                break;
            while (port_ == 0 && process_.canReadLine()) {
                const QString line = QString::fromLocal8Bit(process_.readLine()).trimmed();
                port_ = quint16(portLine.match(line).captured(1).toUInt());
            }
        }
        process_.setReadChannel(QProcess::StandardOutput);
    }
    ~TestPeer() { output(); }
    TestPeer(const TestPeer&) = delete;
    TestPeer& operator=(const TestPeer&) = delete;

    quint16 port() const { return port_; }
    bool running() const { return process_.state() == QProcess::Running; }
    // What it has printed on its standard output after its port, so far.
    QByteArray printed() { return printed_ += process_.readAllStandardOutput(); }
    // All of that, once it has ended by itself within waitMs or been stopped.
    QByteArray output(int waitMs = 0) {
        if (!process_.waitForFinished(waitMs) && process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000))
                process_.kill();
            process_.waitForFinished();
        }
        return printed();
    }
    QByteArray errors() { return process_.readAllStandardError(); }

private:
    QProcess process_;
    quint16 port_ = 0;
    QByteArray printed_;
};

// A port on 127.0.0.1 that refuses connections while this lives: bound but never listening,
// so no other process can take it meanwhile.
class RefusedPort {
public:
    RefusedPort() : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (fd_.valid() && ::bind(fd_.get(), reinterpret_cast<sockaddr*>(&address), size) == 0 &&
            ::getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port_ = ntohs(address.sin_port);
    }
    quint16 port() const { return port_; }

private:
    platform::FileDescriptor fd_;
    quint16 port_ = 0;
};
