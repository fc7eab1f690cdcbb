// The dialect's pieces the report tables never reach, LIKE prefixes and the
// plug-in's connection, on SQLite and PostgreSQL. The report queries
// themselves (conditional sums, substrings, concatenation, lengths, the
// view's grouped sums) run on both engines in the report suite, held
// against SQLite and against a model worked out without SQL.

#include "db/SharedLookups.h"
#include "db/SqlLiteral.h"
#include "platform/data/TAdoConn.h"
#include "platform/data/TSqlDialect.h"
#include "support/EngineFixture.h"

#include <gtest/gtest.h>

namespace {

class EnginesTest : public TEngineTest {
protected:
    const TSqlDialect& Dialect() const { return GetDefConnection()->Dialect(); }
};

TEST_P(EnginesTest, EmptySumsAndDecodesOfTwoPairsAgreeWithSqlite) {
    // No rows: the null sum becomes the default.
    const auto Empty = DefRows(
        "select " +
        Dialect().Nvl("sum(" + Dialect().Decode("ipid", {"'11'", "BudgMoney", "0"}) + ")", "0") +
        "/10000 as s from vwbudgetadj where datayear=1900");
    ASSERT_EQ(Empty.size(), 1);
    EXPECT_EQ(Empty[0][0].toDouble(), 0.0);

    // Nested IIF on SQLite, one CASE on PostgreSQL.
    const QString Kind = Dialect().Decode("leafflag", {"'1'", "'leaf'", "'0'", "'group'", "'?'"});
    EXPECT_TRUE(SameRows(
        Reference().Rows("select case leafflag when '1' then 'leaf' when '0' then 'group' else "
                         "'?' end as k, count(*) from pubdept group by k order by k"),
        DefRows("select k, count(*) from (select " + Kind +
                " as k from pubdept) t group by k order by k")));
}

TEST_P(EnginesTest, LikePrefixMatchesTheCodeAsText) {
    const struct {
        const char* Text;
        const char* Prefix;
        bool Matches;
    } Cases[] = {
        {"101002", "101", true}, {"101002", "102", false}, {"10%x", "10%", true},
        {"10ax", "10%", false},  {"1_1", "1_", true},      {"1x1", "1_", false},
        {"a\\b", "a\\", true},   {"ab", "a\\", false},     {"it's", "it'", true},
        {"[1]x", "[1]", true},   {"1x", "[1]", false},     {"%_\\", "%_\\", true},
    };
    for (const auto& Case : Cases) {
        const auto Rows = DefRows(QStringLiteral("select case when %1 like %2 then 1 else 0 end")
                                      .arg(QuotedSqlString(QString::fromUtf8(Case.Text)),
                                           Dialect().LikePrefix(QString::fromUtf8(Case.Prefix))));
        ASSERT_EQ(Rows.size(), 1) << Case.Text;
        EXPECT_EQ(Rows[0][0].toInt(), Case.Matches ? 1 : 0)
            << Case.Text << " like prefix " << Case.Prefix;
    }
}

// Nor can a statement make it write: not by switching the session's
// read-only default off first, nor by ending the transaction within a text.
TEST_P(EnginesTest, ThePlugInsConnectionNeverWrites) {
    IARQueryPtr Query;
    EXPECT_FALSE(OpenDefQuery("delete from pubdept returning eid", Query));
    EXPECT_FALSE(OpenDefQuery("update pubdept set ename='x' returning eid", Query));
    const QString Create = "create table written (x int)";
    const QString Written = GetParam() == TEngine::SQLite
                                ? "select count(*) from sqlite_master where name='written'"
                                : "select count(*) from pg_tables where tablename='written'";
    const QString Off = "select set_config('default_transaction_read_only','off',false)";
    const QStringList Attempts[] = {
        {Off, Create},
        {"set session characteristics as transaction read write", Create},
        {"commit", Create},
        {"select 1 /* ; */; commit; " + Off + "; commit; " + Create},
        // A carriage return ends a "--" comment; an E'' string continued on
        // the next line keeps its backslash escapes.
        {"select 1 --x\r; commit; start transaction read write; " + Create + "; commit"},
        {"select e'x'\n'\\''; commit; start transaction read write; " + Create + "; commit --'"},
    };
    for (const QStringList& Attempt : Attempts) {
        for (const QString& Sql : Attempt)
            OpenDefQuery(Sql, Query);
        EXPECT_EQ(Database().Rows(Written).value(0).value(0).toInt(), 0)
            << Attempt.join(" / ").toStdString();
    }
    EXPECT_EQ(
        Database().Rows("select count(*) from pubdept where ename='x'").value(0).value(0).toInt(),
        0);
    EXPECT_EQ(Database().Rows("select count(*) from pubdept").value(0).value(0).toInt(),
              DemoOptions().Units);
}

// What a statement changes in the session ends with it: the next statement
// sees the settings the connection opened with.
TEST_P(EnginesTest, ASettingAStatementChangesEndsWithIt) {
    using TCase = std::pair<QString, QString>; // the change, and what shows it
    const QList<TCase> Cases =
        GetParam() == TEngine::SQLite
            ? QList<TCase>{{"PRAGMA case_sensitive_like = 1", "select 'a' like 'A'"},
                           {"PRAGMA reverse_unordered_selects = 1", "select eid from pubdept"}}
            : QList<TCase>{{"select set_config('search_path', 'pg_catalog', false)",
                            "select current_setting('search_path')"},
                           {"select set_config('statement_timeout', '1', false)",
                            "select current_setting('statement_timeout')"}};
    for (const auto& [Change, Probe] : Cases) {
        const auto Before = DefRows(Probe);
        IARQueryPtr Query;
        OpenDefQuery(Change, Query);
        EXPECT_TRUE(SameRows(Before, DefRows(Probe))) << Change.toStdString();
    }
}

VARNHOLT_INSTANTIATE_ON_ENGINES(EnginesTest);

} // namespace
