// A start of a program that wants to be the only copy in the scope argv[1], with the message
// argv[2...]: prints "owner", then each message handed to it (its strings joined by '|'), a
// line each, until it is killed; or prints "handed over" and ends with 0.

#include "platform/singleinstance.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    platform::SingleInstance instance(QStringLiteral("singleinstance-test"), app.arguments()[1]);
    const bool owner = instance.claim(app.arguments().mid(2));
    QObject::connect(&instance, &platform::SingleInstance::received,
                     [](const QStringList& m) { std::printf("%s\n", qPrintable(m.join(u'|'))); });
    std::printf(owner ? "owner\n" : "handed over\n");
    return owner ? app.exec() : 0;
}
