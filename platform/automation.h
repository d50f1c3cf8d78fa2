#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace platform {

// Automation servers created by name ("Outlook.Application"), their members reached by name
// (objectmembers.h). None is installed on this platform; tests register fakes.
class AutomationServers {
public:
    using Factory = std::function<std::unique_ptr<QObject>()>;
    // A new server object, owned by the caller. Raises error 429 when no server of that
    // name is registered.
    static std::unique_ptr<QObject> create(const QString& name);

    // Registers factory under name until the guard is destroyed.
    class Registration {
    public:
        Registration(QString name, Factory factory);
        ~Registration();
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

    private:
        QString name_;
    };
};

} // namespace platform
