#include "presentation/loadlistfromfile.h"

#include <QFile>
#include <QListWidget>

namespace veltrano {

QStringList readModuleEntries(const QString& path) {
    QStringList entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const QByteArray bytes = file.readAll();
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= size && entries.size() < maxModuleEntries; ++i) {
        if (i < size && data[i] != '\r')
            continue;
        if (i > start)
            entries.append(QString::fromLocal8Bit(data + start, i - start));
        if (i + 1 < size && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return entries;
}

void LoadListFromFile(const QString& path, QListWidget* list) {
    list->clear();
    list->addItems(readModuleEntries(path));
}

} // namespace veltrano
