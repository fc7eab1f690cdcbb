// The plug-in's PostgreSQL session: the server's count of a text's
// statements, advisory locks, and sessions the server has ended.
#include "platform/data/PgSession.h"
#include "platform/Exception.h"
#include "platform/data/TADOQuery.h"
#include "support/EngineFixture.h"

#include <gtest/gtest.h>

namespace {

class PgSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        VARNHOLT_REQUIRE_PG_SERVER();
        Conn.SetConnectionString(PgTestServer());
    }
    // The first value of ASql on the plug-in's connection.
    QString Value(const QString& ASql) {
        TADOQuery Query;
        Query.SetConnection(&Conn);
        Query.SetSQLText(ASql);
        Query.Open();
        return Query.Fields(0).AsString();
    }
    // Why ASql fails, or empty text when it runs.
    QString Failure(const QString& ASql) {
        try {
            Value(ASql);
            return QString();
        } catch (const EDatabaseError& Error) {
            return Error.Message();
        }
    }
    QString Session() { return Value("select pg_backend_pid()"); }
    void End(const QString& ASession) {
        Admin.Exec("select pg_terminate_backend(" + ASession + ", 5000)");
    }

    TADOConnection Conn;
    TTestSession Admin{PgTestServer()};
};

// The texts that wrote before, asked of the server alone.
TEST_F(PgSessionTest, TheServerCountsTheStatementsOfAText) {
    Conn.Open();
    for (const char* Sql : {"select 1 --x\r; select 2", "select e'x'\n'\\''; select 2 --'"})
        EXPECT_TRUE(PgParse(Conn.Database(), Sql).Several) << Sql;
    for (const char* Sql : {"select 1; -- done\n", "select 'x'\n'\\''; select 2 --'"})
        EXPECT_TRUE(PgParse(Conn.Database(), Sql).Parsed) << Sql;
    EXPECT_FALSE(PgParse(Conn.Database(), "selec 1").Several);
}

TEST_F(PgSessionTest, AdvisoryLocksEndWithTheStatement) {
    const QString Held = "select count(*) from pg_locks where locktype='advisory' and pid=";
    EXPECT_EQ(Value("select (" + Held + "pg_backend_pid()) from pg_advisory_lock(4711)"), "1");
    EXPECT_EQ(Admin.Rows(Held + Session()).value(0).value(0).toInt(), 0);
}

// Run again once on a new session; a statement that ends its own session
// every time fails with the server's reason.
TEST_F(PgSessionTest, AStatementWhoseSessionEndedRunsOnceMore) {
    End(Session());
    EXPECT_EQ(Value("select 1"), "1");
    const QString Failed = Failure("select pg_terminate_backend(pg_backend_pid())");
    EXPECT_TRUE(Failed.contains("terminating connection")) << Failed.toStdString();
}

TEST_F(PgSessionTest, ASessionThatCannotBeOpenedAgainSaysWhy) {
    Admin.Exec("drop database if exists varnholt_gone with (force)");
    Admin.Exec("create database varnholt_gone");
    Conn.SetConnectionString(PgTestServer() + ";Database=varnholt_gone");
    const QString Ended = Session();
    Admin.Exec("alter database varnholt_gone with allow_connections false");
    End(Ended);
    const QString Failed = Failure("select 1");
    EXPECT_TRUE(Failed.contains("连接已断开") &&
                Failed.contains("not currently accepting connections"))
        << Failed.toStdString();
    Admin.Exec("drop database varnholt_gone with (force)");
}

} // namespace
