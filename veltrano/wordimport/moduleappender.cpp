#include "wordimport/moduleappender.h"

#include "wordimport/importtarget.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace veltrano {

namespace {

QString headword(QStringView entry) {
    return entry.left(entry.indexOf(QLatin1String(" - "))).trimmed().toString();
}

} // namespace

ModuleAppender::ModuleAppender(int number, const ImportTarget& target)
    : number_(number), userPath_(target.userFolder + QStringLiteral("/%1.txt").arg(number)) {
    const QString shipped = target.shippedFolder + QStringLiteral("/%1.txt").arg(number);
    const QString current = QFileInfo::exists(userPath_) ? userPath_ : shipped;
    const QFileInfo info(current);
    if (!info.exists())
        return; // a module nobody has written yet
    if (!info.isFile() || info.size() > maxBytes) {
        problem_ = QStringLiteral("is no module file Veltrano reads (%1)").arg(current);
        return;
    }
    QFile file(current);
    if (!file.open(QIODevice::ReadOnly)) {
        problem_ = QStringLiteral("cannot be read (%1: %2)").arg(current, file.errorString());
        return;
    }
    bytes_ = file.readAll();
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]+"));
    QString text = QString::fromUtf8(bytes_);
    if (text.startsWith(u'\uFEFF'))
        text.remove(0, 1);
    for (const QString& line : text.split(lineEnd, Qt::SkipEmptyParts)) {
        headwords_.insert(headword(line));
        ++entries_;
    }
    if (!bytes_.isEmpty() && !bytes_.endsWith('\n') && !bytes_.endsWith('\r'))
        bytes_ += "\r\n"; // the last line needed no end until now
}

QString ModuleAppender::problem() const {
    if (!problem_.isEmpty())
        return problem_;
    if (added_ > 0 && (entries_ > maxEntries || bytes_.size() > maxBytes))
        return QStringLiteral("would hold more than %1 entries or %2 MB, more than Veltrano reads")
            .arg(QLocale(QLocale::English).toString(maxEntries))
            .arg(maxBytes / (1024 * 1024));
    return {};
}

ModuleAppender::Added ModuleAppender::add(QString entry) {
    const bool cut = entry.size() > maxEntryLength;
    if (cut) // never half of a surrogate pair at the end
        entry.truncate(entry.at(maxEntryLength - 1).isHighSurrogate() ? maxEntryLength - 1
                                                                      : maxEntryLength);
    // The headword as it will be read back, so that a second import finds it.
    const QString word = headword(entry);
    if (headwords_.contains(word))
        return Added::AlreadyThere;
    headwords_.insert(word);
    bytes_ += entry.toUtf8() + "\r\n";
    ++entries_;
    ++added_;
    return cut ? Added::Cut : Added::Whole;
}

} // namespace veltrano
