#include "handlerfixture.h"

#include "core/databaseerrorcheck.h"

#include <trapwell/sqlconnection.h>

#include <QSqlDatabase>
#include <QUuid>

using trapwell::core::DatabaseErrorCheck;

namespace {

// A real SQLite database in a temporary file, opened through Qt SQL. The logs go beside it,
// not into the folder of the test program.
class DatabaseTest : public HandlerTest {
protected:
    void SetUp() override {
        handler.setDestination(temp.path());
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(temp.filePath(QStringLiteral("test.db")));
        ASSERT_TRUE(db.open());
        connection = std::make_unique<trapwell::SqlConnection>(db);
        ASSERT_TRUE(connection->execute(QStringLiteral("create table words (w text)")));
    }
    void TearDown() override {
        connection.reset();
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(name);
    }
    int errorCount() const { return connection->errors()->property("Count").toInt(); }

    const QString name = QUuid::createUuid().toString();
    QSqlDatabase db;
    std::unique_ptr<trapwell::SqlConnection> connection;
};

} // namespace

TEST(DriverPrefix, TheLastListedPrefixFoundDecides) {
    EXPECT_EQ(DatabaseErrorCheck::withoutDriverPrefix(
                  "[Microsoft][ODBC SQL Server Driver][SQL Server]Invalid column name 'x'."),
              "Database Error: Invalid column name 'x'.");
    EXPECT_EQ(DatabaseErrorCheck::withoutDriverPrefix(
                  "[SQL Server]a [ODBC Microsoft Access Driver]b [SQL Server]c"),
              "Database Error: b [SQL Server]c");
    EXPECT_EQ(DatabaseErrorCheck::withoutDriverPrefix("[sql server]lower case"),
              "[sql server]lower case");
    EXPECT_EQ(DatabaseErrorCheck::withoutDriverPrefix("no such table: t"), "no such table: t");
}

TEST_F(DatabaseTest, AFailedStatementBecomesTheDatabaseErrorText) {
    handler.setCn(QVariant::fromValue(connection.get()));
    EXPECT_FALSE(connection->execute(QStringLiteral("select * from missing")));
    ASSERT_EQ(errorCount(), 1);

    handler.Push(QStringLiteral("Form1.cmdLoad_Click"));
    EXPECT_EQ(handler.HandleError(QStringLiteral("Automation error"), -2147217900.0, 50), 0);
    EXPECT_EQ(handler.ErrDesc(), "\r\nDATABASE ERROR MESSAGE(S)\r\n\r\n"
                                 "DB ERROR 1\tNative DB ERR#: 1\r\n"
                                 "DESCRIPTION:\tno such table: missing\r\n"
                                 "SOURCE:\t\tQSQLITE\r\n"
                                 "SQL STATE:\t\r\n"
                                 "ERROR:\t\t3604 (-2147217900)");
    EXPECT_EQ(handler.ErrNum(), 3604);
    EXPECT_EQ(handler.ErrorType(), "1");
    EXPECT_TRUE(handler.ErrorLogDisplay().startsWith("Database Error Information\r\n"));
    EXPECT_TRUE(handler.ErrorLogDisplay().contains("Error Number:\t3604\r\n"));
    EXPECT_EQ(errorCount(), 0); // cleared and refreshed

    const QString dbSection = handler.DbLogDisplay();
    EXPECT_TRUE(dbSection.startsWith("Database Information\r\n==============\r\nADO Version : " +
                                     QString::fromLatin1(qVersion()) + "\r\nDriver : QSQLITE\r\n"));
    EXPECT_TRUE(dbSection.contains("\r\nDatabase : " + temp.filePath("test.db") + "\r\n"));
    EXPECT_TRUE(dbSection.endsWith("Open : True\r\n"));

    // The next, ordinary error is an application error again.
    handler.Push(QStringLiteral("Form1.Timer1_Timer"));
    handler.HandleError(QStringLiteral("Overflow"), 6);
    EXPECT_EQ(handler.ErrorType(), "0");
    EXPECT_EQ(handler.ErrDesc(), "Overflow");
    EXPECT_TRUE(handler.ErrorLogDisplay().startsWith("Application Error Information\r\n"));
}

TEST_F(DatabaseTest, SeveralErrorsFollowEachOtherWithoutASeparator) {
    handler.setCn(QVariant::fromValue(connection.get()));
    connection->execute(QStringLiteral("select * from missing"));
    connection->execute(QStringLiteral("insert into nowhere values (1)"));
    handler.HandleError(QStringLiteral("x"), -2147217900.0);
    EXPECT_TRUE(handler.ErrDesc().contains("(-2147217900)DB ERROR 2\tNative DB ERR#: 1\r\n"
                                           "DESCRIPTION:\tno such table: nowhere\r\n"));
    EXPECT_TRUE(handler.ErrDesc().endsWith(')'));

    // Without errors only the driver prefix goes.
    handler.HandleError(QStringLiteral("[SQL Server]Timeout expired"), 5);
    EXPECT_EQ(handler.ErrDesc(), "Database Error: Timeout expired");
    EXPECT_EQ(handler.ErrorType(), "0");
    EXPECT_EQ(handler.ErrNum(), 5);

    // An error number that would overflow keeps the text only.
    connection->execute(QStringLiteral("select * from missing"));
    handler.HandleError(QStringLiteral("x"), 300000); // 300000 + 0x7FFC0000 needs 33 bits
    EXPECT_TRUE(handler.ErrDesc().startsWith("\r\nDATABASE ERROR MESSAGE(S)"));
    EXPECT_EQ(handler.ErrNum(), 300000);
    EXPECT_EQ(handler.ErrorType(), "0");

    // A closed connection is refused.
    db.close();
    EXPECT_EQ(
        quint32(errorOf([&] { handler.setCn(QVariant::fromValue(connection.get())); }).number()),
        0x800403EAu);
}
