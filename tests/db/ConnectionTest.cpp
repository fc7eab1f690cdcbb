#include "platform/Exception.h"
#include "platform/data/PgSingleStatement.h"
#include "platform/data/SqliteStatement.h"
#include "platform/data/TADOConnection.h"
#include "platform/data/TADOQuery.h"
#include "platform/data/TConnectionString.h"
#include "support/DbFixture.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct TConnectionStringCase {
    const char* Text;
    const char* Key;
    const char* Expected;
};

TEST(ConnectionString, ReadsAdoSyntax) {
    const TConnectionStringCase Cases[] = {
        {"Provider=SQLite;Data Source=demo.db", "data source", "demo.db"},
        {"  Provider = SQLOLEDB.1 ; User ID = sa ", "user id", "sa"},
        {"Password=\"a;b=c\";User ID=x", "Password", "a;b=c"},
        {"Password='it''s';User ID=x", "Password", "it's"},
        {"Password=\"say \"\"hi\"\"\"", "Password", "say \"hi\""},
        {"Provider=A;provider=B", "Provider", "B"},
        {"junk;Provider=A;;", "Provider", "A"},
        {"Provider=A", "Data Source", ""},
    };
    for (const auto& Case : Cases) {
        const TConnectionString Parts(QString::fromUtf8(Case.Text));
        EXPECT_EQ(Parts.Value(QString::fromUtf8(Case.Key)), QString::fromUtf8(Case.Expected))
            << Case.Text;
    }
}

struct TTargetCase {
    const char* ConnectionString;
    const char* Driver;
    const char* DatabaseName;
};

TEST(ConnectionTarget, MapsProvidersToQtDrivers) {
    const TTargetCase Cases[] = {
        {"Provider=SQLOLEDB.1;Data Source=srv;Initial Catalog=budget;User ID=sa;Password=pw;"
         "Driver=ODBC Driver 18 for SQL Server;TrustServerCertificate=yes",
         "QODBC",
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER=srv;DATABASE=budget;"
         "TrustServerCertificate=yes"},
        {"Provider=MSOLEDBSQL;Data Source=srv;Driver=FreeTDS", "QODBC",
         "DRIVER={FreeTDS};SERVER=srv"},
        {"Provider=OraOLEDB.Oracle;Data Source=orcl;User ID=u;Password=p;Driver=Oracle", "QODBC",
         "DRIVER={Oracle};DBQ=orcl"},
        {"Provider=MSDAORA.1;Data Source=orcl;DSN=ora", "QODBC", "ora"},
        // Settled as the dialect settles it: Oracle before SQL Server.
        {"Provider=Oracle over SQLOLEDB;Data Source=orcl;Driver=Oracle", "QODBC",
         "DRIVER={Oracle};DBQ=orcl"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\a;b.mdb;Driver=MDBTools", "QODBC",
         "DRIVER={MDBTools};DBQ=C:\\a"},
        {"Provider=PostgreSQL;Host=db;Port=5433;Database=budget;User ID=u;Password=p", "QPSQL",
         "budget"},
    };
    for (const auto& Case : Cases) {
        TADOConnection Conn;
        Conn.SetConnectionString(QString::fromUtf8(Case.ConnectionString));
        const TConnectionTarget Target = Conn.Target();
        EXPECT_EQ(Target.Driver, QString::fromUtf8(Case.Driver)) << Case.ConnectionString;
        EXPECT_EQ(Target.DatabaseName, QString::fromUtf8(Case.DatabaseName))
            << Case.ConnectionString;
        EXPECT_FALSE(Target.DatabaseName.contains(QStringLiteral("PWD")));
    }
}

TEST(ConnectionTarget, RefusesStringsItCannotMap) {
    for (const char* Text : {"Provider=SQLOLEDB.1;Data Source=srv", "Data Source=x.db",
                             "Provider=SQLite", "Provider=PostgreSQL;Port=five"}) {
        TADOConnection Conn;
        Conn.SetConnectionString(QString::fromUtf8(Text));
        EXPECT_THROW(Conn.Target(), EDatabaseError) << Text;
    }
}

TEST(Connection, MissingSqliteFileIsAnErrorNamingItAndIsNotCreated) {
    TempDir Dir;
    const QString Missing = Dir.File(QStringLiteral("nowhere.db"));
    TADOConnection Conn;
    Conn.SetConnectionString(SqliteConnectionString(Missing));
    try {
        Conn.Open();
        FAIL() << "opened a missing file";
    } catch (const EDatabaseError& Error) {
        EXPECT_TRUE(Error.Message().contains(Missing)) << Error.what();
    }
    EXPECT_FALSE(Conn.Connected());
    EXPECT_FALSE(QFile::exists(Missing));
}

TEST(Connection, FailureMessagesNeverShowThePassword) {
    // Refused at once: nothing listens on port 1; the ODBC driver named does
    // not exist.
    const char* Strings[] = {
        "Provider=PostgreSQL;Host=127.0.0.1;Port=1;Database=budget;User ID=clerk;"
        "Password=Sesame-4711",
        "Provider=SQLOLEDB.1;Driver=No Such Driver;Data Source=srv;User ID=sa;"
        "Password=Sesame-4711",
    };
    for (const char* Text : Strings) {
        TADOConnection Conn;
        Conn.SetConnectionString(QString::fromUtf8(Text));
        try {
            Conn.Open();
            FAIL() << "connected: " << Text;
        } catch (const EDatabaseError& Error) {
            EXPECT_FALSE(Error.Message().contains(QStringLiteral("Sesame"))) << Error.what();
            EXPECT_TRUE(Error.Message().contains(Conn.Provider())) << Error.what();
        }
    }
}

TEST(Connection, EachConnectionHasItsOwnQtConnection) {
    TempDir Dir;
    const QString File = MakeDemoDb(Dir, TDemoOptions{10, 50});
    TADOConnection First;
    First.SetConnectionString(SqliteConnectionString(File));
    std::unique_ptr<TADOConnection> Second(First.Clone());
    EXPECT_NE(First.ConnectionName(), Second->ConnectionName());
    EXPECT_EQ(Second->ConnectionString(), First.ConnectionString());
    First.Open();
    Second->Open();
    First.Close();
    // Closing one leaves the other working.
    TADOQuery Query;
    Query.SetConnection(Second.get());
    Query.SetSQLText(QStringLiteral("select count(*) from pubdept"));
    Query.Open();
    EXPECT_EQ(Query.Fields(0).AsInteger(), 10);
}

TEST(Connection, WorkerThreadUsesAClone) {
    TempDir Dir;
    const QString File = MakeDemoDb(Dir, TDemoOptions{10, 50});
    TADOConnection Main;
    Main.SetConnectionString(SqliteConnectionString(File));
    Main.Open();

    int CloneCount = -1;
    bool SharedRefused = false;
    std::unique_ptr<QThread> Worker(QThread::create([&] {
        std::unique_ptr<TADOConnection> Own(Main.Clone());
        TADOQuery Query;
        Query.SetConnection(Own.get());
        Query.SetSQLText(QStringLiteral("select count(*) from busibudgetadj"));
        Query.Open();
        CloneCount = Query.Fields(0).AsInteger();
        TADOQuery Shared;
        Shared.SetConnection(&Main);
        Shared.SetSQLText(QStringLiteral("select 1"));
        try {
            Shared.Open();
        } catch (const EDatabaseError&) {
            SharedRefused = true;
        }
    }));
    Worker->start();
    Worker->wait();
    EXPECT_EQ(CloneCount, 50);
    EXPECT_TRUE(SharedRefused);
}

QByteArray FileDigest(const QString& AFile) {
    QFile File(AFile);
    if (!File.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(File.readAll(), QCryptographicHash::Sha256);
}

TEST(Connection, NoStatementChangesTheDatabase) {
    TempDir Dir;
    const QString File = MakeDemoDb(Dir, TDemoOptions{10, 50});
    const QByteArray Before = FileDigest(File);
    const QStringList FilesBefore = QDir(Dir.Path()).entryList(QDir::Files);
    const QString Copy = Dir.File(QStringLiteral("copy.db"));

    TADOConnection Conn;
    Conn.SetConnectionString(SqliteConnectionString(File));
    const QString Statements[] = {
        QStringLiteral("insert into pubmoneykind (mid, mname) values ('99', 'x')"),
        QStringLiteral("update busibudgetadj set BudgMoney = 0"),
        QStringLiteral("delete from pubdept"),
        QStringLiteral("drop view vwbudgetadj"),
        QStringLiteral("create table t (x)"),
        QStringLiteral("PRAGMA user_version = 9"),
        QStringLiteral("PRAGMA journal_mode = WAL"),
        QStringLiteral("PRAGMA query_only = 0"),
        QStringLiteral("VACUUM"),
        QStringLiteral("VACUUM INTO '%1'").arg(Copy),
        QStringLiteral("ATTACH DATABASE '%1' AS other").arg(Copy),
        QStringLiteral("create table other.t (x)"),
        QStringLiteral("with x as (select 1) insert into pubmoneykind select '98', 'y', '0'"),
        QStringLiteral("insert into pubmoneykind values ('97', 'z', '0') returning mid"),
    };
    for (const QString& Sql : Statements) {
        TADOQuery Query;
        Query.SetConnection(&Conn);
        Query.SetSQLText(Sql);
        EXPECT_THROW(Query.Open(), EDatabaseError) << Sql.toStdString();
    }
    Conn.Close();
    EXPECT_EQ(FileDigest(File), Before);
    EXPECT_EQ(QDir(Dir.Path()).entryList(QDir::Files), FilesBefore);
}

// A text is one statement when no ';' stands outside literals, quoted
// names, dollar quotes and comments, as PostgreSQL reads them.
TEST(PgSingleStatement, SplitsTheTextAsTheServerDoes) {
    const std::pair<const char*, bool> Cases[] = {
        {"select 1", true},
        {"select 1; -- done\n", true},
        {"select ';', 'it''s;', \"a;b\" from t", true},
        {"select $$;$$, $q$ ; $$ ; $q$, $1", true},
        {"select 1 /* ; /* ; */ ; */", true},
        {"select E'\\';', e'\\\\'", true},
        {"select 1; select 2", false},
        {"select 1;;", false},
        {"select 'a\\'; drop table t; --'", false},
        {"select E'\\''; drop table t", false},
        {"select $q$ $$ $q$; drop table t", false},
        {"select 1 /* /* */ ; */; drop table t", false},
        {"select x$y$ ; drop table t; --$y$", false},
        {"select 'open; drop table t", false},
        {"select $$open; drop table t", false},
        // A carriage return ends a comment; strings split by a line break
        // (and comments) are one, E'' escapes going on into the next part.
        {"select 1 --x\r; drop table t", false},
        {"select 1 --x; drop table t", true},
        {"select e'x'\n'\\''; drop table t --'", false},
        {"select e'x'\r'\\''; drop table t --'", false},
        {"select e'x' -- c\n  '\\''; drop table t --'", false},
        {"select 'x'\n'\\''; drop table t --'", true},
        {"select e'x' '\\''; drop table t --'", true},
    };
    for (const auto& [Sql, Single] : Cases)
        EXPECT_EQ(IsPgSingleStatement(QString::fromUtf8(Sql)), Single) << Sql;
}

// The embedded database runs a statement only when SQLite finds that it
// changes no file and leaves the connection as it was for the statements
// after it (no setting, no transaction, no attached database).
TEST(SqliteGuard, RunsOnlyStatementsThatReadAndLeaveTheConnectionAlone) {
    TempDir Dir;
    const QString File = MakeUnitsDb(Dir, {{"101"}});
    TADOConnection Conn;
    Conn.SetConnectionString(SqliteConnectionString(File));
    // The statement, and what refuses it: nothing (it runs), SQLite's verdict
    // that it writes, or the connection's authorizer while it compiles.
    const std::pair<const char*, const char*> Cases[] = {
        {"select count(*) from pubdept", ""},
        {"PRAGMA user_version", ""},
        {"create table t (x)", "会写数据库"},
        {"PRAGMA case_sensitive_like = 1", "not authorized"},
        {"select name from pragma_table_info('pubdept')", "not authorized"},
        {"begin", "not authorized"},
        {"ATTACH DATABASE ':memory:' AS other", "not authorized"},
        {"DETACH DATABASE other", "not authorized"},
        {"savepoint s", "not authorized"},
    };
    for (const auto& [Sql, Refusal] : Cases) {
        TADOQuery Query;
        Query.SetConnection(&Conn);
        Query.SetSQLText(QString::fromUtf8(Sql));
        try {
            Query.Open();
            EXPECT_STREQ(Refusal, "") << Sql;
        } catch (const EDatabaseError& Error) {
            EXPECT_TRUE(*Refusal && Error.Message().contains(QString::fromUtf8(Refusal)))
                << Sql << ": " << Error.what();
        }
    }
    // A query without an SQLite statement behind it counts as writing.
    EXPECT_TRUE(SqliteStatementWrites(QSqlQuery()));
}

TEST(Query, ReadsTheWholeResultAndWalksIt) {
    TempDir Dir;
    const QString File =
        MakeUnitsDb(Dir, {{"101", "", "甲"}, {"101001", "101", "乙"}, {"101002", "101", "丙"}});
    TADOConnection Conn;
    Conn.SetConnectionString(SqliteConnectionString(File));
    TADOQuery Query;
    Query.SetConnection(&Conn);
    Query.SetSQLText(QStringLiteral(
        "select eid, ename, class * 1.5 as Half, null as Missing from pubdept order by eid"));
    Query.Open();
    EXPECT_TRUE(Conn.Connected());
    ASSERT_EQ(Query.RecordCount(), 3);
    QStringList Names;
    QList<double> Halves;
    for (Query.First(); !Query.Eof(); Query.Next()) {
        // Field names match without regard to letter case, as ADO's do.
        Names << Query.FieldByName(QStringLiteral("ENAME")).AsString();
        Halves << Query.FieldByName(QStringLiteral("half")).AsFloat();
        EXPECT_EQ(Query.FieldByName(QStringLiteral("missing")).AsString(), QString());
        EXPECT_EQ(Query.FieldByName(QStringLiteral("missing")).AsFloat(), 0.0);
    }
    EXPECT_EQ(Names, (QStringList{"甲", "乙", "丙"}));
    EXPECT_EQ(Halves, (QList<double>{0.0, 1.5, 1.5}));
    EXPECT_EQ(Query.FieldByName(QStringLiteral("eid")).AsString(), QStringLiteral("101002"));
    EXPECT_THROW(Query.FieldByName(QStringLiteral("nosuch")), EDatabaseError);

    // Read once: the same rows, and no way back to a row let go.
    Query.Close();
    Query.Open();
    Query.SetForwardOnly(true);
    QStringList Again;
    for (Query.First(); !Query.Eof(); Query.Next())
        Again << Query.FieldByName(QStringLiteral("ename")).AsString();
    EXPECT_EQ(Again, Names);
    EXPECT_EQ(Query.RecordCount(), 3);
    EXPECT_THROW(Query.First(), EDatabaseError);
    EXPECT_THROW(Query.SetRecNo(2), EDatabaseError);
    Query.SetForwardOnly(false);

    Query.Close();
    Query.SetSQLText(QStringLiteral("select eid from pubdept where 1 = 0"));
    Query.Open();
    EXPECT_TRUE(Query.IsEmpty());
    EXPECT_TRUE(Query.Eof());
    EXPECT_EQ(Query.RecordCount(), 0);
    EXPECT_TRUE(Query.FieldByName(QStringLiteral("eid")).IsNull());
}

TEST(Query, StatementWithoutRowsOrWithErrorsRaises) {
    TempDir Dir;
    const QString File = MakeUnitsDb(Dir, {{"101"}});
    TADOConnection Conn;
    Conn.SetConnectionString(SqliteConnectionString(File));
    for (const char* Sql :
         {"select * from nosuchtable", "selec 1", "PRAGMA foreign_keys = 1", ""}) {
        TADOQuery Query;
        Query.SetConnection(&Conn);
        Query.SetSQLText(QString::fromLatin1(Sql));
        EXPECT_THROW(Query.Open(), EDatabaseError) << Sql;
        EXPECT_FALSE(Query.Active());
    }
}

TEST(Query, ForgetsAConnectionThatIsFreed) {
    TempDir Dir;
    const QString File = MakeUnitsDb(Dir, {{"101"}});
    auto* Conn = new TADOConnection;
    Conn->SetConnectionString(SqliteConnectionString(File));
    TADOQuery Query;
    Query.SetConnection(Conn);
    Query.SetSQLText(QStringLiteral("select * from pubdept"));
    Query.Open();
    Conn->Free();
    EXPECT_EQ(Query.Connection(), nullptr);
    EXPECT_FALSE(Query.Active());
    EXPECT_THROW(Query.Open(), EDatabaseError);
}

} // namespace
