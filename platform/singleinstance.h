#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace platform {

// One running copy of a program per scope (which the caller chooses: a display, a settings
// folder). The first copy listens on a local socket in the user's runtime folder
// ($XDG_RUNTIME_DIR, else /tmp/<name>-<uid> with mode 0700); a later start connects, hands
// that copy one message and ends. A message is a list of strings, so that a command can carry
// arguments.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    SingleInstance(const QString& name, const QString& scope, QObject* parent = nullptr);

    // True when this process is the one copy from now on; false when the copy that is took
    // the message. Starts that race are taken one at a time; a socket nobody answers on is
    // left from a copy that ended without closing it, and is taken over. Where no private
    // folder can be had, this process runs as if alone (true) rather than not at all.
    bool claim(const QStringList& message);

signals:
    // A message from a later start; runs from the event loop.
    void received(const QStringList& message);

private:
    void accept();
    void read(QLocalSocket* peer);

    QString path_;
    QLocalServer* server_ = nullptr;
};

} // namespace platform
