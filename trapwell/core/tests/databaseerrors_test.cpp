#include "handlerfixture.h"

#include "core/databaseerrorcheck.h"

#include <trapwell/sqlconnection.h>

#include <QSqlDatabase>

using trapwell::core::DatabaseErrorCheck;

TEST(DriverPrefix, TheLastListedPrefixFoundDecides) {
    for (const auto& [in, out] :
         {std::pair{"[Microsoft][ODBC SQL Server Driver][SQL Server]Invalid column name 'x'.",
                    "Database Error: Invalid column name 'x'."},
          {"[SQL Server]a [ODBC Microsoft Access Driver]b [SQL Server]c",
           "Database Error: b [SQL Server]c"},
          {"[sql server]lower case", "[sql server]lower case"},
          {"no such table: t", "no such table: t"}})
        EXPECT_EQ(DatabaseErrorCheck::withoutDriverPrefix(QString::fromLatin1(in)), out) << in;
}

// A real SQLite database in a temporary file, opened through Qt SQL.
TEST_F(HandledErrorTest, FailedStatementsBecomeTheDatabaseErrorText) {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", temp.path()); // a name of its own
    db.setDatabaseName(temp.filePath("test.db"));
    ASSERT_TRUE(db.open());
    trapwell::SqlConnection connection(db);
    const auto errorCount = [&] { return connection.errors()->property("Count").toInt(); };
    handler.setCn(QVariant::fromValue(&connection));
    EXPECT_FALSE(connection.execute("select * from missing"));
    ASSERT_EQ(errorCount(), 1);

    handler.Push("Form1.cmdLoad_Click");
    EXPECT_EQ(handler.HandleError("Automation error", -2147217900.0, 50), 0);
    EXPECT_GOLDEN(handler.ErrDesc().toUtf8(), "database-error.txt");
    EXPECT_EQ(handler.ErrNum(), 3604);
    EXPECT_EQ(handler.ErrorType(), "1");
    EXPECT_TRUE(handler.ErrorLogDisplay().startsWith("Database Error Information\r\n"));
    EXPECT_TRUE(handler.ErrorLogDisplay().contains("Error Number:\t3604\r\n"));
    EXPECT_EQ(errorCount(), 0); // cleared and refreshed

    EXPECT_GOLDEN(handler.DbLogDisplay().toUtf8(), "database-section.txt",
                  {{"@QT@", qVersion()}, {"@TEMP@", temp.path().toUtf8()}});

    // Several errors follow each other without a separator.
    connection.execute("select * from missing");
    connection.execute("insert into nowhere values (1)");
    handler.HandleError("x", -2147217900.0);
    EXPECT_GOLDEN(handler.ErrDesc().toUtf8(), "database-errors.txt");

    // Without errors only the driver prefix goes: an application error again.
    handler.HandleError("[SQL Server]Timeout expired", 5);
    EXPECT_EQ(handler.ErrDesc(), "Database Error: Timeout expired");
    EXPECT_EQ(handler.ErrorType(), "0");
    EXPECT_EQ(handler.ErrNum(), 5);
    EXPECT_TRUE(handler.ErrorLogDisplay().startsWith("Application Error Information\r\n"));

    // An error number that would overflow keeps the text only.
    connection.execute("select * from missing");
    handler.HandleError("x", 300000); // 300000 + 0x7FFC0000 needs 33 bits
    EXPECT_TRUE(handler.ErrDesc().startsWith("\r\nDATABASE ERROR MESSAGE(S)"));
    EXPECT_EQ(handler.ErrNum(), 300000);
    EXPECT_EQ(handler.ErrorType(), "0");

    // A closed connection shows as one that is not open, which Cn refuses.
    EXPECT_FALSE(connection.connectionString().isEmpty());
    db.close();
    EXPECT_TRUE(connection.connectionString().isEmpty());
}
