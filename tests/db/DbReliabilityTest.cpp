// The read-only connection against a database in WAL mode, and passwords in
// error messages.

#include "platform/Exception.h"
#include "platform/data/TADOConnection.h"
#include "platform/data/TADOQuery.h"
#include "platform/data/TConnectionString.h"
#include "support/DbFixture.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// A database in WAL mode as a writer leaves it when it closes: the log
// checkpointed into the file and no -wal or -shm beside it.
void MakeWalDatabase(const QString& AFile) {
    RunSql(AFile,
           {"PRAGMA journal_mode=WAL", "create table t (x)", "insert into t values (1), (2), (3)"});
}

int CountRows(const QString& AFile) {
    TADOConnection Conn;
    Conn.SetConnectionString(SqliteConnectionString(AFile));
    TADOQuery Query;
    Query.SetConnection(&Conn);
    Query.SetSQLText("select count(*) from t");
    Query.Open();
    return Query.Fields(0).AsInteger();
}

} // namespace

// Reading leaves the folder and the file exactly as they were, also in a
// folder nobody may write to.
TEST(SqliteReadOnly, WalDatabaseIsReadWithoutLeavingFiles) {
    TempDir Dir;
    const QString File = Dir.File("预算 #1.db");
    MakeWalDatabase(File);
    const QByteArray Before = ReadBytes(File);
    const QStringList Files = QDir(Dir.Path()).entryList(QDir::Files);
    ASSERT_EQ(Files, QStringList{"预算 #1.db"});
    EXPECT_EQ(CountRows(File), 3);
    EXPECT_EQ(QDir(Dir.Path()).entryList(QDir::Files), Files);
    EXPECT_EQ(ReadBytes(File), Before);
}

TEST(SqliteReadOnly, WalDatabaseIsReadFromAReadOnlyFolder) {
    SmallDisk Share(1024);
    if (!Share.Mounted())
        GTEST_SKIP() << Share.Reason().toStdString();
    const QString File = Share.File("budget.db");
    MakeWalDatabase(File);
    ASSERT_TRUE(Share.MakeReadOnly());
    EXPECT_EQ(CountRows(File), 3);
    EXPECT_EQ(QDir(Share.File(QString())).entryList(QDir::Files), QStringList{"budget.db"});
}

// With a -wal file beside it a writer is at work: the reader takes SQLite's
// ordinary locks and sees what the writer has committed to the log.
TEST(SqliteReadOnly, WalDatabaseWithAWriterShowsItsCommittedRows) {
    TempDir Dir;
    const QString File = Dir.File("live.db");
    MakeWalDatabase(File);
    const TTestSession Writer(SqliteConnectionString(File));
    Writer.Exec("insert into t values (4)");
    ASSERT_TRUE(QFileInfo::exists(File + "-wal"));
    EXPECT_EQ(CountRows(File), 4);
}

// Only the value of a password setting is blanked, however the driver
// writes it; the rest of the message stays readable.
TEST(PasswordScrubbing, OnlyThePasswordValueIsBlanked) {
    const std::pair<const char*, const char*> Cases[] = {
        {"[unixODBC][Driver Manager]Can't open lib 'x' (Password=x)",
         "[unixODBC][Driver Manager]Can't open lib 'x' (Password=***"},
        {"DRIVER={FreeTDS};SERVER=srv;PWD=secret;UID=sa",
         "DRIVER={FreeTDS};SERVER=srv;PWD=***;UID=sa"},
        {"pwd = {se;cret};uid=sa", "pwd = ***;uid=sa"},
        {"Password=\"a;b\";User ID=x", "Password=***;User ID=x"},
        {"password authentication failed for user \"x\"",
         "password authentication failed for user \"x\""},
    };
    for (const auto& [Text, Expected] : Cases)
        EXPECT_EQ(TConnectionString::WithoutPasswords(QString::fromUtf8(Text)),
                  QString::fromUtf8(Expected));

    TADOConnection Conn;
    Conn.SetConnectionString(
        "Provider=SQLOLEDB.1;Driver=No Such Driver;Data Source=srv;Password=x");
    try {
        Conn.Open();
        FAIL() << "connected";
    } catch (const EDatabaseError& Error) {
        EXPECT_TRUE(Error.Message().contains("unixODBC")) << Error.what();
        EXPECT_FALSE(Error.Message().contains("***")) << Error.what();
    }
}
