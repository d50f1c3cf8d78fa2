#include "platform/automation.h"

#include "platform/classicerrors.h"

#include <QHash>

namespace platform {

namespace {
QHash<QString, AutomationServers::Factory>& servers() {
    static QHash<QString, AutomationServers::Factory> registered;
    return registered;
}
} // namespace

std::unique_ptr<QObject> AutomationServers::create(const QString& name) {
    const auto it = servers().constFind(name);
    if (it == servers().constEnd())
        raiseError(err::cannotCreateObject);
    std::unique_ptr<QObject> server = it.value()();
    if (!server)
        raiseError(err::cannotCreateObject);
    return server;
}

AutomationServers::Registration::Registration(QString name, Factory factory)
    : name_(std::move(name)) {
    servers().insert(name_, std::move(factory));
}

AutomationServers::Registration::~Registration() {
    servers().remove(name_);
}

} // namespace platform
