#include "presentation/options.h"

#include "presentation/wordsets.h"

#include "platform/settingsstore.h"

#include <trapwell/comtypes.h>

#include <QStringList>

namespace veltrano {

namespace {

QString application() {
    return QStringLiteral("Veltrano Rudoz Arirera");
}

// The stored text when it is one of the texts offered, else the default. A settings file
// that cannot be read gives the defaults: the module boxes' read reports it once already.
QString storedChoice(const QString& key, const QStringList& offered, const QString& fallback) {
    QString text;
    try {
        text =
            platform::SettingsStore::current().GetSetting(application(), Options::section(), key);
    } catch (const trapwell::RuntimeError&) {
        return fallback;
    }
    return offered.contains(text) ? text : fallback;
}

void store(const QString& key, const QString& value) {
    platform::SettingsStore::current().SaveSetting(application(), Options::section(), key, value);
}

QString secondsText(double seconds) {
    return QString::number(seconds, 'g', 3);
}

QStringList offeredSeconds() {
    QStringList texts;
    for (double s : Options::entrySecondsOffered)
        texts << secondsText(s);
    return texts;
}

} // namespace

QString Options::section() {
    return QStringLiteral("Options");
}
QString Options::entrySecondsKey() {
    return QStringLiteral("Show Each Entry For");
}
QString Options::pauseWhileFullScreenKey() {
    return QStringLiteral("Pause While Full Screen");
}
QString Options::meaningsInKey() {
    return QStringLiteral("Meanings In");
}
QString Options::orderKey() {
    return QStringLiteral("Order");
}

double Options::entrySeconds() {
    return storedChoice(entrySecondsKey(), offeredSeconds(), secondsText(entrySecondsOffered[0]))
        .toDouble();
}

void Options::setEntrySeconds(double seconds) {
    store(entrySecondsKey(), secondsText(seconds));
}

bool Options::pauseWhileFullScreen() {
    return storedChoice(pauseWhileFullScreenKey(), {QStringLiteral("0"), QStringLiteral("1")},
                        QStringLiteral("1")) == QLatin1String("1");
}

void Options::setPauseWhileFullScreen(bool pause) {
    store(pauseWhileFullScreenKey(), pause ? QStringLiteral("1") : QStringLiteral("0"));
}

QString Options::meaningsIn() {
    QStringList codes;
    for (const WordSet& set : wordSets)
        codes << QLatin1String(set.code);
    return storedChoice(meaningsInKey(), codes, codes.first());
}

void Options::setMeaningsIn(const QString& code) {
    store(meaningsInKey(), code);
}

QString Options::orderText(Order order) {
    return order == Order::Shuffled ? QStringLiteral("Shuffled") : QStringLiteral("In Turn");
}

Options::Order Options::order() {
    const QString shuffled = orderText(Order::Shuffled);
    return storedChoice(orderKey(), {orderText(Order::InTurn), shuffled},
                        orderText(Order::InTurn)) == shuffled
               ? Order::Shuffled
               : Order::InTurn;
}

void Options::setOrder(Order order) {
    store(orderKey(), orderText(order));
}

} // namespace veltrano
