#include "support/DbFixture.h"
#include "support/EngineFixture.h"
#include "support/ProcessLimits.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QStringList Column(const QString& AFile, const char* ASql) {
    return ReadColumn(AFile, QString::fromUtf8(ASql));
}

int Count(const QString& AFile, const char* ASql) {
    return Column(AFile, ASql).value(0).toInt();
}

TEST(DemoData, SameSeedSameDataOtherSeedOtherData) {
    TempDir Dir;
    const char* Digest = "select group_concat(adjid || eid || mid || bid || iid || ipid || pid || "
                         "BType || bkid || btypechild || BudgMoney, '|') from busibudgetadj";
    const char* Units = "select group_concat(eid || ename || specialaccount || useflag, '|') "
                        "from pubdept";
    TDemoOptions Options{40, 800, 7};
    const QString A = Dir.File(QStringLiteral("a.db"));
    const QString B = Dir.File(QStringLiteral("b.db"));
    const QString C = Dir.File(QStringLiteral("c.db"));
    GenerateDemoDatabase(A, Options);
    GenerateDemoDatabase(B, Options);
    Options.Seed = 8;
    GenerateDemoDatabase(C, Options);
    EXPECT_EQ(Column(A, Digest), Column(B, Digest));
    EXPECT_EQ(Column(A, Units), Column(B, Units));
    EXPECT_NE(Column(A, Digest), Column(C, Digest));
    EXPECT_FALSE(QFile::exists(A + QStringLiteral(".partial")));
}

TEST(DemoData, ProvinceHasConsistentUnitCodes) {
    TempDir Dir;
    const QString File = MakeDemoDb(Dir, TDemoOptions{120, 100});
    EXPECT_EQ(Count(File, "select count(*) from pubdept"), 120);
    // Codes in three-character segments; parent is the code less its last
    // segment and exists; class is the level.
    EXPECT_EQ(Count(File, "select count(*) from pubdept where length(eid) % 3 <> 0 "
                          "or class <> length(eid) / 3 - 1 "
                          "or peid <> substr(eid, 1, length(eid) - 3)"),
              0);
    EXPECT_EQ(Count(File, "select count(*) from pubdept d where peid <> '' and not exists "
                          "(select 1 from pubdept p where p.eid = d.peid)"),
              0);
    // A unit is a leaf exactly when nothing lies below it.
    EXPECT_EQ(Count(File, "select count(*) from pubdept d where leafflag <> case when exists "
                          "(select 1 from pubdept c where c.peid = d.eid) then '0' else '1' end"),
              0);
    // Every group has its own-level unit 001.
    EXPECT_EQ(Count(File, "select count(*) from pubdept d where leafflag = '0' and not exists "
                          "(select 1 from pubdept c where c.eid = d.eid || '001')"),
              0);
    EXPECT_GE(Count(File, "select max(class) from pubdept"), 3);
    EXPECT_GT(Count(File, "select count(*) from pubdept where specialaccount = '是'"), 0);
    EXPECT_GT(Count(File, "select count(*) from pubdept where specialaccount = '否'"), 0);
    // Units of one department share its class.
    EXPECT_EQ(Count(File, "select count(*) from pubdept d join pubdept t "
                          "on t.eid = substr(d.eid, 1, 3) where t.deptclass <> d.deptclass"),
              0);
}

TEST(DemoData, AdjustmentsCoverEveryCodeTheReportsRead) {
    TempDir Dir;
    const QString File = MakeDemoDb(Dir, TDemoOptions{40, 1500});
    EXPECT_EQ(Count(File, "select count(*) from busibudgetadj"), 1500);
    EXPECT_EQ(Count(File, "select count(*) from vwbudgetadj"), 1500);
    EXPECT_EQ(Column(File, "select mid || mname || leafflag from pubmoneykind order by mid"),
              (QStringList{"11公共财政预算资金0", "12基金预算资金0", "21财政专户管理资金0",
                           "31国有资本经营预算资金0"}));
    EXPECT_EQ(Column(File, "select distinct mid || ':' || ipid from busibudgetadj order by 1"),
              (QStringList{"11:11", "11:12", "12:11", "12:12", "21:11", "21:12", "31:17", "31:18",
                           "31:19"}));
    EXPECT_EQ(Column(File, "select distinct pid from busibudgetadj order by 1"),
              (QStringList{"", "10", "20", "31"}));
    EXPECT_EQ(Column(File, "select distinct BType || '/' || bkid || '/' || btypechild "
                           "from busibudgetadj order by 1"),
              (QStringList{"0//", "1/21/1", "1/21/2", "1/22/", "2//"}));
    EXPECT_EQ(Column(File, "select distinct datayear from busibudgetadj order by 1"),
              (QStringList{"2022", "2023", "2024"}));
    EXPECT_GT(Count(File, "select count(*) from busibudgetadj where BudgMoney < 0"), 0);
    // The view gives every name; subjects are real seven-digit codes.
    EXPECT_EQ(Count(File, "select count(*) from vwbudgetadj where ename is null or mname is null "
                          "or bname is null or iname is null or deptclass is null"),
              0);
    EXPECT_EQ(Count(File, "select count(*) from busibudgetadj where length(bid) <> 7 "
                          "or substr(bid, 1, 1) <> '2'"),
              0);
    // Fund 21 belongs to special-account units, adjustments to units in use.
    EXPECT_EQ(Count(File, "select count(*) from busibudgetadj a join pubdept d on d.eid = a.eid "
                          "where (a.mid = '21' and d.specialaccount <> '是') or d.useflag <> '0' "
                          "or a.deptclass <> d.deptclass"),
              0);
    // Departments' own codes carry some amounts too (shown as their 001).
    EXPECT_GT(Count(File, "select count(*) from busibudgetadj where length(eid) = 3"), 0);
}

// The same options give the same province on a server: every row of every
// table and the view, amounts to the bit.
TEST(DemoData, PostgreSqlHoldsTheSameProvinceAsSqlite) {
    VARNHOLT_REQUIRE_PG_SERVER();
    TDemoOptions Options{50, 2000, 11};
    const TDemoDatabase Lite(TEngine::SQLite, Options);
    const TDemoDatabase Pg(TEngine::PostgreSQL, Options);
    for (const char* Sql :
         {"select * from pubdept order by eid", "select * from pubmoneykind order by mid",
          "select * from pubbudgetsubject order by bid", "select * from busiindicator order by iid",
          "select * from vwbudgetadj order by adjid"}) {
        const auto Expected = Lite.Rows(Sql);
        ASSERT_FALSE(Expected.isEmpty()) << Sql;
        EXPECT_TRUE(SameRows(Expected, Pg.Rows(Sql))) << Sql;
    }
    // The amounts to the bit: doubles compare exactly.
    const QString Amounts = "select BudgMoney from busibudgetadj order by adjid";
    const auto PgAmounts = Pg.Rows(Amounts);
    ASSERT_EQ(PgAmounts.size(), 2000);
    EXPECT_EQ(Lite.Rows(Amounts), PgAmounts);

    // A database holding the demo tables is left alone unless replacing
    // them is asked for.
    Options.Seed = 12;
    EXPECT_THROW(GenerateDemoAt(Pg.ConnectionString(), Options), std::runtime_error);
    EXPECT_EQ(Pg.Rows(Amounts), PgAmounts);
    GenerateDemoAt(Pg.ConnectionString(), Options, true);
    const auto Replaced = Pg.Rows(Amounts);
    EXPECT_EQ(Replaced.size(), 2000);
    EXPECT_NE(Replaced, PgAmounts);
}

// Options the tool cannot honour are refused with a message naming them,
// never cut down to fit, and nothing is left behind in the working folder.
TEST(DemoDataTool, RefusesBadOptionsAndLeavesNothingBehind) {
    TempDir Dir;
    const std::pair<QStringList, const char*> Cases[] = {
        {{""}, "没有给出要写的数据库文件"},
        {{"a.db", "--first-year", "4294969318"}, "--first-year"},
        {{"a.db", "--first-year", "9998", "--years", "3"}, "10000"},
        {{"a.db", "--seed", "-1"}, "--seed"},
        {{Dir.Path()}, "不是文件"},
        {{"a.db", "--rows", "1000000000000"}, "10000000"},
    };
    for (const auto& [Arguments, Message] : Cases) {
        QProcess Tool;
        Tool.setWorkingDirectory(Dir.Path());
        LimitAddressSpace(Tool, qint64(2) << 30);
        Tool.start(BinaryDir() + "/varnholt-demo-db", QStringList{"--rows", "10"} + Arguments);
        ASSERT_TRUE(Tool.waitForFinished(60000));
        const QString Error = QString::fromUtf8(Tool.readAllStandardError());
        EXPECT_NE(Tool.exitCode(), 0) << Arguments.join(' ').toStdString();
        EXPECT_TRUE(Error.contains(QString::fromUtf8(Message))) << Error.toStdString();
        EXPECT_EQ(QDir(Dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
}

} // namespace
