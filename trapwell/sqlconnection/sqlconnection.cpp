#include <trapwell/sqlconnection.h>

#include <QSqlQuery>
#include <QStringList>

#include <vector>

namespace trapwell {

namespace {

// Status codes of the classic data-access layer, which the handler's report prints.
constexpr std::int32_t errorsInCommand = std::int32_t(0x80040E14u);
constexpr std::int32_t unspecifiedError = std::int32_t(0x80004005u);

class SqlProperty : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name MEMBER name)
    Q_PROPERTY(QVariant Value MEMBER value)
public:
    SqlProperty(QString n, QVariant v, QObject* parent)
        : QObject(parent), name(std::move(n)), value(std::move(v)) {}
    QString name;
    QVariant value;
};

class SqlErrorItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(int NativeError MEMBER nativeError)
    Q_PROPERTY(QString Description MEMBER description)
    Q_PROPERTY(QString Source MEMBER source)
    Q_PROPERTY(QString sqlstate MEMBER sqlState)
    Q_PROPERTY(int Number MEMBER number)
public:
    SqlErrorItem(const QSqlError& error, const QString& driver, QObject* parent)
        : QObject(parent), source(driver) {
        bool numeric = false;
        nativeError = error.nativeErrorCode().toInt(&numeric);
        // Drivers that report a five-character state instead of a native number.
        if (!numeric)
            sqlState = error.nativeErrorCode();
        description = error.databaseText().isEmpty() ? error.text() : error.databaseText();
        number = error.type() == QSqlError::StatementError ? errorsInCommand : unspecifiedError;
    }
    int nativeError = 0;
    QString description;
    QString source;
    QString sqlState;
    int number = 0;
};

} // namespace

class SqlProperties : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Count READ count)
public:
    explicit SqlProperties(const SqlConnection* connection) : connection_(connection) {}

    // Count takes a fresh look at the connection; items stay valid until the next Count.
    int count() { return int(refresh().size()); }
    Q_INVOKABLE QObject* Item(int index) {
        const auto& items = items_.empty() ? refresh() : items_;
        return index >= 0 && std::size_t(index) < items.size() ? items[std::size_t(index)]
                                                               : nullptr;
    }

private:
    // The properties as the connection has them now.
    const std::vector<SqlProperty*>& refresh() {
        qDeleteAll(items_);
        items_.clear();
        const QSqlDatabase db = connection_->database();
        const std::pair<const char*, QVariant> values[] = {
            {"Driver", db.driverName()},  {"Database", db.databaseName()},
            {"Host Name", db.hostName()}, {"Port", db.port()},
            {"User Name", db.userName()}, {"Connect Options", db.connectOptions()},
            {"Open", db.isOpen()},
        };
        for (const auto& [name, value] : values)
            items_.push_back(new SqlProperty(QString::fromLatin1(name), value, this));
        return items_;
    }

    const SqlConnection* connection_;
    std::vector<SqlProperty*> items_;
};

class SqlErrors : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Count READ count)
public:
    explicit SqlErrors(const SqlConnection* connection) : connection_(connection) {}

    int count() const { return int(items_.size()); }
    Q_INVOKABLE QObject* Item(int index) const {
        return index >= 0 && index < count() ? items_[std::size_t(index)] : nullptr;
    }
    Q_INVOKABLE void Clear() {
        qDeleteAll(items_);
        items_.clear();
    }
    // Takes over the errors the connection itself reports now.
    Q_INVOKABLE void Refresh() {
        const QSqlError error = connection_->database().lastError();
        if (error.isValid())
            add(error);
    }
    void add(const QSqlError& error) {
        items_.push_back(new SqlErrorItem(error, connection_->database().driverName(), this));
    }

private:
    const SqlConnection* connection_;
    std::vector<SqlErrorItem*> items_;
};

SqlConnection::SqlConnection(const QSqlDatabase& database, QObject* parent)
    : QObject(parent), database_(database), properties_(new SqlProperties(this)),
      errors_(new SqlErrors(this)) {
    properties_->setParent(this);
    errors_->setParent(this);
}

SqlConnection::~SqlConnection() = default;

bool SqlConnection::execute(const QString& statement) {
    QSqlQuery query(database_);
    if (query.exec(statement))
        return true;
    addError(query.lastError());
    return false;
}

bool SqlConnection::execute(QSqlQuery& query) {
    if (query.exec())
        return true;
    addError(query.lastError());
    return false;
}

void SqlConnection::addError(const QSqlError& error) {
    errors_->add(error);
}

QString SqlConnection::connectionString() const {
    if (!database_.isOpen())
        return {};
    QStringList parts{QStringLiteral("Driver=") + database_.driverName(),
                      QStringLiteral("Database=") + database_.databaseName()};
    if (!database_.hostName().isEmpty())
        parts << QStringLiteral("Host=") + database_.hostName();
    if (database_.port() >= 0)
        parts << QStringLiteral("Port=") + QString::number(database_.port());
    if (!database_.userName().isEmpty())
        parts << QStringLiteral("User=") + database_.userName();
    return parts.join(u';');
}

QString SqlConnection::version() const {
    return QString::fromLatin1(qVersion());
}
QObject* SqlConnection::properties() const {
    return properties_;
}
QObject* SqlConnection::errors() const {
    return errors_;
}

} // namespace trapwell

#include "sqlconnection.moc"
