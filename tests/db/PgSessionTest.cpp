// The plug-in's PostgreSQL session: the server's own verdict on a text of
// several statements, what a statement must not leave behind (settings,
// advisory locks), and a session the server has ended.

#include "platform/data/PgSession.h"
#include "platform/Exception.h"
#include "platform/data/TADOConnection.h"
#include "platform/data/TADOQuery.h"
#include "support/EngineFixture.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

class PgSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        VARNHOLT_REQUIRE_PG_SERVER();
        Conn.SetConnectionString(PgTestServer());
    }
    // The first column of the first row of ASql on the plug-in's connection.
    QString Value(const QString& ASql) {
        TADOQuery Query;
        Query.SetConnection(&Conn);
        Query.SetSQLText(ASql);
        Query.Open();
        return Query.Fields(0).AsString();
    }
    QString Pid() { return Value(QStringLiteral("select pg_backend_pid()")); }
    void Terminate(const QString& APid) {
        ASSERT_EQ(Admin.Rows("select pg_terminate_backend(" + APid + ", 5000)").value(0).value(0),
                  true);
    }

    TADOConnection Conn;
    TTestSession Admin{PgTestServer()};
};

// Asked of the server, without the plug-in's own reading of the text: the
// comment a carriage return ends and the E'' string continued on the next
// line are both read as the server reads them.
TEST_F(PgSessionTest, TheServerCountsTheStatementsOfAText) {
    const std::pair<const char*, bool> Cases[] = {
        {"select 1", false},
        {"select 1; -- done\n", false},
        {"select 'x'\n'\\''; select 2 --'", false},
        {"select 1 --x\r; select 2", true},
        {"select e'x'\n'\\''; select 2 --'", true},
        {"select 1; select 2", true},
    };
    Conn.Open();
    for (const auto& [Sql, Several] : Cases) {
        const TPgParseVerdict Verdict = PgParse(Conn.Database(), QString::fromUtf8(Sql));
        EXPECT_EQ(Verdict.Several, Several) << Sql;
        EXPECT_EQ(Verdict.Parsed, !Several) << Sql << ": " << Verdict.Error.toStdString();
    }
    const TPgParseVerdict Broken = PgParse(Conn.Database(), QStringLiteral("selec 1"));
    EXPECT_FALSE(Broken.Parsed || Broken.Several);
    EXPECT_TRUE(Broken.Error.contains(QStringLiteral("syntax error")))
        << Broken.Error.toStdString();
}

// A session-level advisory lock would outlive the rolled-back transaction
// and block other sessions of the server.
TEST_F(PgSessionTest, AdvisoryLocksEndWithTheStatement) {
    const QString Held = "select count(*) from pg_locks where locktype='advisory' and pid=";
    EXPECT_EQ(Value("select (" + Held + "pg_backend_pid()) from pg_advisory_lock(4711)"), "1");
    EXPECT_EQ(Admin.Rows(Held + Pid()).value(0).value(0).toInt(), 0);
}

TEST_F(PgSessionTest, ASessionTheServerEndedIsOpenedAgainOnce) {
    const QString Before = Pid();
    Terminate(Before);
    QString After;
    ASSERT_NO_THROW(After = Pid());
    EXPECT_NE(After, Before);
    EXPECT_EQ(Value("select 1"), "1");
}

// A statement that ends its own session every time runs twice, not more,
// and fails with the server's reason; the session after it works.
TEST_F(PgSessionTest, AStatementIsRunAgainOnlyOnce) {
    try {
        Value("select pg_terminate_backend(pg_backend_pid())");
        ADD_FAILURE() << "the statement came back";
    } catch (const EDatabaseError& Error) {
        EXPECT_TRUE(Error.Message().contains("terminating connection")) << Error.what();
    }
    EXPECT_EQ(Value("select 1"), "1");
}

// When the session cannot be opened again, the message says the connection
// was lost and gives the server's reason.
TEST_F(PgSessionTest, ASessionThatCannotBeOpenedAgainSaysWhy) {
    const QString Name =
        QStringLiteral("varnholt_gone_%1").arg(QRandomGenerator::global()->bounded(1000000));
    Admin.Exec("create database " + Name);
    Conn.SetConnectionString(PgTestServer() + ";Database=" + Name);
    const QString Session = Pid();
    Admin.Exec("alter database " + Name + " with allow_connections false");
    Terminate(Session);
    try {
        Pid();
        ADD_FAILURE() << "the query ran";
    } catch (const EDatabaseError& Error) {
        EXPECT_TRUE(Error.Message().contains(QStringLiteral("连接已断开"))) << Error.what();
        EXPECT_TRUE(Error.Message().contains(QStringLiteral("not currently accepting connections")))
            << Error.what();
    }
    Conn.Close();
    Admin.Exec("drop database " + Name + " with (force)");
}

} // namespace
