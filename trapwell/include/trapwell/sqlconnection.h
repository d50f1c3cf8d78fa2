#pragma once

// A host's Qt SQL connection in the shape the handler's Cn property expects: members read by
// name (connectionstring, Version, Properties, Errors), so the report gets a database section
// and database errors become readable text. Link Trapwell::SqlConnection to use it.

#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>

class QSqlQuery;

namespace trapwell {

class SqlErrors;
class SqlProperties;

class SqlConnection : public QObject {
    Q_OBJECT
    // Empty while the database is not open; never holds the password.
    Q_PROPERTY(QString connectionstring READ connectionString)
    // The version of the data-access library (Qt SQL).
    Q_PROPERTY(QString Version READ version)
    // Count and Item(index) with Name and Value.
    Q_PROPERTY(QObject* Properties READ properties)
    // Count and Item(index) with NativeError, Description, Source, sqlstate and Number;
    // Clear() and Refresh().
    Q_PROPERTY(QObject* Errors READ errors)

public:
    explicit SqlConnection(const QSqlDatabase& database, QObject* parent = nullptr);
    ~SqlConnection() override;

    QSqlDatabase database() const { return database_; }

    // Runs a statement the way the connection's Execute did: a failure's error joins Errors
    // (which the handler reads and clears) and false comes back.
    bool execute(const QString& statement);
    // The same for a query the host prepared on this connection.
    bool execute(QSqlQuery& query);
    // Adds an error the host met elsewhere on this connection.
    void addError(const QSqlError& error);

    QString connectionString() const;
    QString version() const;
    QObject* properties() const;
    QObject* errors() const;

private:
    QSqlDatabase database_;
    SqlProperties* properties_;
    SqlErrors* errors_;
};

} // namespace trapwell
