// The same SQL on SQLite and PostgreSQL: the dialect's pieces run on both
// and give what SQLite gives for the same province.

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

    QString ConditionalSum(const QString& AName, const QString& ARest) const {
        return Dialect().Nvl(QStringLiteral("sum(") +
                                 Dialect().Decode(AName, {ARest, "BudgMoney", "0"}) + ')',
                             QStringLiteral("0"));
    }
};

TEST_P(EnginesTest, TheConnectionTakesItsEnginesDialect) {
    EXPECT_EQ(Dialect().Kind(),
              GetParam() == TEngine::SQLite ? TSqlKind::SQLite : TSqlKind::PostgreSQL);
}

TEST_P(EnginesTest, ConditionalSumsAgreeWithSqlite) {
    // The report's split condition: "(ipid" opens what the piece closes.
    const QString Sql =
        QStringLiteral("select mid, ") +
        ConditionalSum("(ipid", "'11' or ipid='17') and pid='10' ") +
        QStringLiteral("/10000 as jbzj, ") + ConditionalSum("ipid", "'12' and pid='31' ") +
        QStringLiteral("/10000 as xmsb from vwbudgetadj where datayear=2024 and pid<>'' "
                       "group by mid order by mid");
    const auto Expected = Reference().Rows(QStringLiteral(
        "select mid, total(case when ipid in ('11','17') and pid='10' then BudgMoney end)/10000, "
        "total(case when ipid='12' and pid='31' then BudgMoney end)/10000 from busibudgetadj "
        "where datayear=2024 and pid<>'' group by mid order by mid"));
    ASSERT_EQ(Expected.size(), 4);
    EXPECT_TRUE(SameRows(Expected, DefRows(Sql)));

    // No rows: the null sum becomes the default.
    const auto Empty = DefRows(QStringLiteral("select ") + ConditionalSum("ipid", "'11' ") +
                               QStringLiteral("/10000 as s from vwbudgetadj where datayear=1900"));
    ASSERT_EQ(Empty.size(), 1);
    EXPECT_EQ(Empty[0][0].toDouble(), 0.0);

    // Two pairs: nested IIF on SQLite, one CASE on PostgreSQL.
    const QString Kind = Dialect().Decode("leafflag", {"'1'", "'leaf'", "'0'", "'group'", "'?'"});
    EXPECT_TRUE(SameRows(
        Reference().Rows(QStringLiteral(
            "select case leafflag when '1' then 'leaf' when '0' then 'group' else '?' end as k, "
            "count(*) from pubdept group by k order by k")),
        DefRows(QStringLiteral("select k, count(*) from (select ") + Kind +
                QStringLiteral(" as k from pubdept) t group by k order by k"))));
}

TEST_P(EnginesTest, SubstringConcatAndLength) {
    const QString Sub = Dialect().Substring();
    const auto Subjects = DefRows(QStringLiteral("select bid, %1(bid,1,3), %1(bid,4,2), "
                                                 "%1(bid,6,2) from pubbudgetsubject order by bid")
                                      .arg(Sub));
    ASSERT_GT(Subjects.size(), 20);
    for (const QVariantList& Row : Subjects) {
        const QString Bid = Row[0].toString();
        ASSERT_EQ(Bid.size(), 7);
        EXPECT_EQ(Row[1].toString() + '|' + Row[2].toString() + '|' + Row[3].toString(),
                  Bid.mid(0, 3) + '|' + Bid.mid(3, 2) + '|' + Bid.mid(5, 2));
    }

    // A department's own-level code; lengths compared with numbers.
    const QString Length = Dialect().Length("eid");
    const auto Units = DefRows(
        QStringLiteral("select eid, ") +
        Dialect().Decode(Length, {"3", Dialect().Concat({"eid", "'001'"}), "eid"}) + " as code, " +
        Length + "/3-1 as lvl from pubdept where " + Length + "<9 order by eid");
    EXPECT_TRUE(SameRows(
        Reference().Rows(QStringLiteral("select eid, case when length(eid)=3 then eid||'001' "
                                        "else eid end, length(eid)/3-1 from pubdept where "
                                        "length(eid)<9 order by eid")),
        Units));
    ASSERT_GT(Units.size(), 30);
    EXPECT_EQ(Units[0][1].toString(), Units[0][0].toString() + QStringLiteral("001"));

    const auto Names = DefRows(QStringLiteral("select ") + Dialect().Concat({"'政府性'", "mname"}) +
                               QStringLiteral(" from pubmoneykind where mid='12'"));
    ASSERT_EQ(Names.size(), 1);
    EXPECT_EQ(Names[0][0].toString(), QStringLiteral("政府性政府性基金"));
}

struct TLikeCase {
    const char* Text;
    const char* Prefix;
    bool Matches;
};

TEST_P(EnginesTest, LikePrefixMatchesTheCodeAsText) {
    const TLikeCase Cases[] = {
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

TEST_P(EnginesTest, GroupedSumsOverTheViewEqualSqlite) {
    // Ordered by name too: both engines sort text by its bytes.
    const QString Sql = QStringLiteral(
        "select eid, ename, mid, mname, count(*) as n, sum(BudgMoney)/10000 as summ "
        "from vwbudgetadj where datayear=2024 and deptclass='1' and pid<>'' and BType='1' "
        "group by eid, ename, mid, mname having sum(BudgMoney)>0 order by ename, eid, mid");
    const auto Expected = Reference().Rows(Sql);
    ASSERT_GT(Expected.size(), 20);
    EXPECT_TRUE(SameRows(Expected, DefRows(Sql)));
}

TEST_P(EnginesTest, ThePlugInsConnectionNeverWrites) {
    IARQueryPtr Query;
    EXPECT_FALSE(OpenDefQuery(QStringLiteral("delete from pubdept returning eid"), Query));
    EXPECT_FALSE(OpenDefQuery(QStringLiteral("update pubdept set ename='x' returning eid"), Query));
    EXPECT_EQ(Database()
                  .Rows(QStringLiteral("select count(*) from pubdept where ename='x'"))
                  .value(0)
                  .value(0)
                  .toInt(),
              0);
    EXPECT_EQ(
        Database().Rows(QStringLiteral("select count(*) from pubdept")).value(0).value(0).toInt(),
        DemoOptions().Units);
}

VARNHOLT_INSTANTIATE_ON_ENGINES(EnginesTest);

} // namespace
