#include "wordimport/ankicollection.h"

#include "wordimport/fieldtext.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace veltrano {

namespace {

QString damaged(const QSqlError& error) {
    return QStringLiteral("holds a damaged Anki collection (%1)").arg(error.databaseText());
}

WordList readNotes(QSqlDatabase& database) {
    if (!database.isValid())
        return WordList::failure(QStringLiteral("cannot be read: Qt's SQLite driver is missing"));
    if (!database.open())
        return WordList::failure(damaged(database.lastError()));
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT flds FROM notes ORDER BY id")))
        return WordList::failure(damaged(query.lastError()));
    WordList list;
    while (query.next()) {
        const QStringList fields = query.value(0).toString().split(QChar(0x1F));
        list.entries.append(
            {FieldText::fromHtml(fields.value(0)), FieldText::fromHtml(fields.value(1))});
    }
    // A damaged page can end the rows early: that is an error too, not the end of the notes.
    if (query.lastError().isValid())
        return WordList::failure(damaged(query.lastError()));
    return list;
}

} // namespace

WordList AnkiCollection::read(const QString& databasePath) {
    const QString connection =
        QStringLiteral("veltrano-wordimport-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    WordList list;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        database.setDatabaseName(databasePath);
        list = readNotes(database);
        database.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return list;
}

} // namespace veltrano
