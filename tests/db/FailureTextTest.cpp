// The data layer's failures as a clerk reads them: the cause in Chinese
// first, what it concerns after it, the database's own words last in
// brackets, never a password.
#include "platform/Exception.h"
#include "platform/data/DatabaseFailureText.h"
#include "platform/data/TADOConnection.h"
#include "platform/data/TADOQuery.h"
#include "support/DbFixture.h"
#include "support/EngineFixture.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const char* const MissingObject = "数据库中缺少报表要读的表或视图";

// Why opening AConnectionString, then running ASql on it, fails.
QString Failure(const QString& AConnectionString, const char* ASql = "select 1") {
    TADOConnection Conn;
    Conn.SetConnectionString(AConnectionString);
    TADOQuery Query;
    Query.SetConnection(&Conn);
    Query.SetSQLText(QString::fromUtf8(ASql));
    try {
        Query.Open();
    } catch (const EDatabaseError& Error) {
        return Error.Message();
    }
    return QString();
}

} // namespace

// What the drivers say, each in the words of its own engine, and the cause
// read from it; a more particular wording is not taken for a general one
// (a missing database is not a missing table).
TEST(DatabaseFailureText, TheDriversWordsGiveTheirCause) {
    const std::pair<const char*, const char*> Cases[] = {
        {"unable to open database file Error opening database",
         "无法打开数据库文件（文件或它所在的文件夹不可读）"},
        {"file is not a database Unable to execute statement",
         "数据库文件已损坏，或不是 SQLite 数据库文件"},
        {"database is locked Unable to fetch row", "数据库文件正被其他程序锁定"},
        {"no such table: vwbudgetadj Unable to execute statement", MissingObject},
        {"ERROR:  relation \"vwbudgetadj\" does not exist\nLINE 1: select * from vwbudgetadj\n"
         "(42P01) QPSQL: Unable to create query",
         MissingObject},
        {"[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]Invalid object name "
         "'vwbudgetadj'.",
         MissingObject},
        {"no such column: summ Unable to execute statement", "数据库的表中缺少报表要读的列"},
        {"ERROR:  column \"summ\" does not exist", "数据库的表中缺少报表要读的列"},
        {"FATAL:  database \"budget\" does not exist QPSQL: Unable to connect",
         "数据库服务器上没有这个数据库，或该用户无权打开它"},
        {"FATAL:  role \"clerk\" does not exist", "数据库服务器上没有这个用户"},
        {"FATAL:  password authentication failed for user \"clerk\"", "数据库的用户名或密码不对"},
        {"[SQL Server]Login failed for user 'sa'.", "数据库的用户名或密码不对"},
        {"connection to server at \"127.0.0.1\", port 1 failed: Connection refused\n\tIs the "
         "server running on that host and accepting TCP/IP connections?",
         "数据库服务器没有接受连接（服务器没有运行，或主机、端口不对）"},
        {"could not translate host name \"db.example\" to address: Name or service not known",
         "找不到数据库服务器（主机名无法解析）"},
        {"timeout expired", "连接数据库服务器超时"},
        {"ERROR:  canceling statement due to statement timeout", "查询超时，被数据库服务器取消"},
        {"FATAL:  terminating connection due to administrator command",
         "与数据库服务器的连接已断开"},
        {"ERROR:  permission denied for table busibudgetadj", "数据库用户没有读取这些数据的权限"},
        {"[unixODBC][Driver Manager]Can't open lib 'No Such Driver' : file not found",
         "找不到连接串所指的 ODBC 驱动或数据源"},
        {"not authorized Unable to execute statement",
         "只读连接不执行这条语句（它会改变连接的设置）"},
        {"something nobody has seen before", ""},
    };
    for (const auto& [Words, Cause] : Cases)
        EXPECT_EQ(DatabaseCause(QString::fromUtf8(Words)).toStdString(), Cause) << Words;
}

// The line's parts in their order; no empty brackets when the driver said
// nothing, and a fallback cause when its words are not known.
TEST(DatabaseFailureText, CauseFirstThenWhatThenTheDriversWords) {
    const std::pair<QString, const char*> Cases[] = {
        {ConnectFailureText("数据库文件不存在", "/x/y.db", ""), "数据库文件不存在：/x/y.db"},
        {ConnectFailureText("", "/x/y.db", "  "), "无法连接数据库：/x/y.db"},
        {ConnectFailureText("", "服务器 a", "timeout expired\n"),
         "连接数据库服务器超时：服务器 a（timeout expired）"},
        {QueryFailureText("SQLite", "no such table: x"),
         "数据库中缺少报表要读的表或视图（SQLite：no such table: x）"},
        {QueryFailureText("", "odd"), "数据库查询失败（数据库：odd）"},
    };
    for (const auto& [Text, Expected] : Cases)
        EXPECT_EQ(Text.toStdString(), Expected);
}

// Real connections that fail, each with the line it gives: the cause first
// (a Chinese character leads), the target named, the password never.
TEST(DatabaseFailureText, FailingConnectionsAndQueriesSayTheirCauseFirst) {
    TempDir Dir;
    const QString Missing = Dir.File("nowhere.db");
    QFile Garbage(Dir.File("garbage.db"));
    ASSERT_TRUE(Garbage.open(QIODevice::WriteOnly));
    Garbage.write(QByteArray(4096, 'x'));
    Garbage.close();
    const QString Demo = MakeDemoDb(Dir);
    const struct {
        QString Connection;
        const char* Sql;
        QString Starts;
        QString Names;
    } Cases[] = {
        {SqliteConnectionString(Missing), "select 1", "数据库文件不存在：" + Missing, ""},
        {SqliteConnectionString(Dir.Path()), "select 1", "数据库文件的位置上不是文件",
         QDir(Dir.Path()).absolutePath()},
        {SqliteConnectionString(Garbage.fileName()), "select * from pubdept",
         "数据库文件已损坏，或不是 SQLite 数据库文件（SQLite：", "file is not a database"},
        {"Provider=SQLite", "select 1", "连接串没有给出数据库文件（Data Source=）", ""},
        {SqliteConnectionString(Demo), "select * from vwbudget", MissingObject,
         "no such table: vwbudget"},
        {"Provider=PostgreSQL;Host=127.0.0.1;Port=1;Database=budget;User ID=clerk;"
         "Password=Sesame-4711",
         "select 1", "数据库服务器没有接受连接", "PostgreSQL 服务器 127.0.0.1:1 上的数据库 budget"},
        {"Provider=PostgreSQL;Port=five", "select 1", "连接串中的端口“five”不是数字", ""},
        {"Provider=SQLOLEDB.1;Driver=No Such Driver;Data Source=srv;User ID=sa;"
         "Password=Sesame-4711",
         "select 1", "找不到连接串所指的 ODBC 驱动或数据源", "SQLOLEDB.1"},
        {"Provider=SQLOLEDB.1;Data Source=srv", "select 1", "连接串没有给出 ODBC 驱动", ""},
    };
    for (const auto& Case : Cases) {
        const QString Text = Failure(Case.Connection, Case.Sql);
        EXPECT_TRUE(Text.startsWith(Case.Starts)) << Text.toStdString();
        EXPECT_TRUE(Text.contains(Case.Names)) << Text.toStdString();
        EXPECT_FALSE(Text.contains("Sesame")) << Text.toStdString();
        ASSERT_FALSE(Text.isEmpty()) << Case.Connection.toStdString();
        EXPECT_EQ(Text.front().script(), QChar::Script_Han) << Text.toStdString();
    }
}

// On the server: a database that is not there, and a missing table, in
// the server's own words after the cause.
TEST(DatabaseFailureText, TheServersFailuresSayTheirCauseFirst) {
    VARNHOLT_REQUIRE_PG_SERVER();
    const QString NoDatabase = Failure(PgTestServer() + ";Database=varnholt_no_such_database");
    EXPECT_TRUE(NoDatabase.startsWith("数据库服务器上没有这个数据库")) << NoDatabase.toStdString();
    EXPECT_TRUE(NoDatabase.contains("varnholt_no_such_database")) << NoDatabase.toStdString();
    const QString NoTable = Failure(PgTestServer(), "select * from vwbudget");
    EXPECT_TRUE(NoTable.startsWith(QString::fromUtf8(MissingObject) + "（PostgreSQL："))
        << NoTable.toStdString();
    EXPECT_TRUE(NoTable.contains("relation \"vwbudget\" does not exist")) << NoTable.toStdString();
}
