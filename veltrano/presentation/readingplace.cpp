#include "presentation/readingplace.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSaveFile>

#include <numeric>
#include <random>
#include <vector>

namespace veltrano {

namespace {

// One small record per module and set; anything larger is not ours.
constexpr qint64 maxFileBytes = 1024 * 1024;

// The rows of a shuffled pass. The generator is fixed to the bit by the standard and the
// shuffle is our own, so a seed kept by one build gives the same pass in the next.
std::vector<int> permutation(std::uint32_t seed, int count) {
    std::vector<int> rows(std::size_t(count), 0);
    std::iota(rows.begin(), rows.end(), 0);
    std::mt19937 random(seed);
    for (int i = count - 1; i > 0; --i)
        std::swap(rows[std::size_t(i)], rows[random() % std::uint32_t(i + 1)]);
    return rows;
}

QJsonObject readPlaces() {
    QFile file(ReadingPlace::filePath());
    // Only a regular file: a FIFO in its place would hold the presentation up.
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.read(maxFileBytes)).object();
}

} // namespace

QString ReadingPlace::filePath() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/veltrano/places.json");
}

ReadingPlace ReadingPlace::of(int number, const QString& setCode, const QStringList& entries) {
    ReadingPlace place;
    place.key_ = QString::number(number) + u' ' + setCode;
    place.count_ = int(entries.size());
    QCryptographicHash digest(QCryptographicHash::Sha256);
    for (const QString& entry : entries) {
        digest.addData(entry.toUtf8());
        digest.addData(QByteArrayView("\n"));
    }
    place.entries_ = digest.result().toHex();

    const QJsonObject kept = readPlaces().value(place.key_).toObject();
    if (kept.value(u"entries").toString().toLatin1() != place.entries_)
        return place;
    const qint64 inTurn = kept.value(u"inTurn").toInteger(-1);
    place.inTurn_ = inTurn >= 0 && inTurn < place.count_ ? int(inTurn) : 0;
    place.shuffled_ =
        kept.value(u"order").toString() == Options::orderText(Options::Order::Shuffled);
    const qint64 seed = kept.value(u"seed").toInteger(-1);
    const qint64 shown = kept.value(u"shown").toInteger(-1);
    if (seed >= 0 && seed <= qint64(UINT32_MAX) && shown >= 0 && shown <= place.count_) {
        place.hasPass_ = true;
        place.seed_ = std::uint32_t(seed);
        place.shown_ = int(shown);
    }
    return place;
}

void ReadingPlace::beginPass() {
    const std::vector<int> before = hasPass_ ? permutation(seed_, count_) : std::vector<int>{};
    std::vector<int> rows;
    do {
        seed_ = QRandomGenerator::global()->generate();
        rows = permutation(seed_, count_);
    } while (count_ > 1 && !before.empty() &&
             (rows == before || (count_ > 2 && rows.front() == before.back())));
    hasPass_ = true;
    shown_ = 0;
}

int ReadingPlace::next(Options::Order order) {
    if (count_ == 0)
        return 0;
    if (order == Options::Order::InTurn) {
        shuffled_ = false;
        inTurn_ = inTurn_ + 1 < count_ ? inTurn_ + 1 : 0;
        return inTurn_;
    }
    if (!shuffled_ || !hasPass_ || shown_ >= count_)
        beginPass();
    shuffled_ = true;
    return permutation(seed_, count_)[std::size_t(shown_++)];
}

void ReadingPlace::keep() const {
    QJsonObject place{
        {QStringLiteral("entries"), QString::fromLatin1(entries_)},
        {QStringLiteral("inTurn"), inTurn_},
        {QStringLiteral("order"),
         Options::orderText(shuffled_ ? Options::Order::Shuffled : Options::Order::InTurn)}};
    if (hasPass_) {
        place.insert(QStringLiteral("seed"), qint64(seed_));
        place.insert(QStringLiteral("shown"), shown_);
    }
    QJsonObject places = readPlaces();
    places.insert(key_, place);
    const QString path = filePath();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(places).toJson()) >= 0)
        file.commit();
}

} // namespace veltrano
