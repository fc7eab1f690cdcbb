// The audit of the tables on purpose-made data: each difference a table can
// show between its totals and what it lists, with or without a known cause.
#include "cell/TCellDocument.h"
#include "report/tables/CrossTableAudit.h"
#include "report/tables/ReportFill.h"
#include "support/ReportFixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace {

// A department with its own-level unit and a school of two parts; fund 11
// on every level, a former-channel row, a special-account row.
void Department(TBudgetRows& ARows) {
    ARows.Unit("101", "省教育厅", false);
    ARows.Unit("101001", "省教育厅本级");
    ARows.Unit("101002", "省实验学校", false);
    ARows.Unit("101002001", "省实验学校一部");
    ARows.Unit("101002002", "省实验学校二部");
    ARows.Adj({"101001", "11", "2010101", "11", "10", 80000});
    ARows.Adj({"101002001", "11", "2050101", "12", "20", 40000});
    ARows.Adj({"101002002", "11", "2080101", "11", "31", 30000});
    ARows.Adj({"101002002", "11", "2080101", "11", "10", 10000});
    ARows.Adj({"101002002", "21", "2080101", "12", "31", 6000});
}

const char RandomView[] =
    "create view vwbudgetadj as select a.adjid, a.datayear, a.eid, d.ename, a.deptclass, a.mid, "
    "m.mname, a.bid, s.bname, a.iid, i.iname, a.ipid, a.pid, a.BType, a.bkid, a.btypechild, "
    "a.BudgMoney + (random() % 1000) / 100.0 as BudgMoney from busibudgetadj a "
    "left join pubdept d on d.eid = a.eid left join pubmoneykind m on m.mid = a.mid "
    "left join pubbudgetsubject s on s.bid = a.bid left join busiindicator i on i.iid = a.iid";

TEST(AuditTest, DifferencesAreNamedWithTheirCauseOrFailTheTable) {
    using TData = std::function<void(TBudgetRows&, const QString&)>;
    const struct {
        const char* What;
        TData Data;
        const char* Prefix;
        const char* Fund;
        bool Passes;
        const char* Says;
    } Cases[] = {
        {"a row that nets below zero is not listed",
         [](TBudgetRows& R, const QString&) {
             R.Adj({"101002001", "11", "2010102", "11", "10", 5000});
             R.Adj({"101002001", "11", "2010102", "11", "10", -7000});
         },
         "101", "11", true, "二级单位净额不大于零而未列出的行 -0.20 万元"},
        {"a unit whose class says another level",
         [](TBudgetRows&, const QString& F) {
             RunSql(F, {"update pubdept set class=1 where length(eid)=9"});
         },
         "101", "11", true, "级次在第1至1级以外的单位，不列入各级（明细数据） 8.00 万元（3 行）"},
        {"a fund nature outside the four blocks",
         [](TBudgetRows& R, const QString&) {
             R.Fund("13", "其他资金");
             R.Adj({"101001", "13", "2010101", "11", "10", 25000});
         },
         "101", "", true,
         "资金性质 13（其他资金）不在四个板块之内，只计入总计（明细数据） 2.50 万元（1 行）"},
        {"special accounts with treasury-channel amounts",
         [](TBudgetRows& R, const QString&) {
             R.Adj({"101002002", "21", "2080101", "11", "10", 12000});
         },
         "101", "", true,
         "财政专户管理资金的直接支付和授权支付金额，板块内只列暂按原渠道拨付的金额，只计入总计各栏 "
         "1.20"},
        {"a level whose total nets below zero",
         [](TBudgetRows& R, const QString&) {
             R.Adj({"101001", "21", "2010101", "12", "31", 5000});
             R.Adj({"101002001", "21", "2080101", "11", "10", -10000});
         },
         "101", "21", true,
         "二级单位合计净额不大于零，未列出合计行 -0.40 万元；二级单位净额不大于零而未列出的行 "
         "-1.00 "
         "万元（1 行）"},
        {"a block whose total nets below zero",
         [](TBudgetRows& R, const QString&) {
             R.Adj({"101001", "12", "2010101", "11", "10", -50000});
         },
         "101", "", true,
         "政府性基金合计净额不大于零，未列出合计行 -5.00 "
         "万元；政府性基金净额不大于零而未列出的科目 "
         "-5.00 万元（1 行）"},
        {"former-channel amounts in the detail table", [](TBudgetRows&, const QString&) {}, "101",
         "11", true, "暂按原渠道拨付的金额，不在支付方式各栏 3.00 万元（1 行）"},
        {"a unit without sub-units lists its own rows", [](TBudgetRows&, const QString&) {},
         "101002002", "11", true, "审核通过"},
        {"a view whose indicator names are not the indicators' own",
         [](TBudgetRows& R, const QString& F) {
             R.Adj({"101002001", "11", "2010102", "11", "10", 10000});
             R.Adj({"101002001", "11", "2010102", "11", "10", -6000});
             RunSql(F, {"drop view vwbudgetadj",
                        QString(RandomView)
                            .replace("i.iname", "i.iname || (a.adjid % 2) as iname")
                            .replace(" + (random() % 1000) / 100.0", "")});
         },
         "101", "11", false, "二级单位未列出的行之和不是净额不大于零的行之和 -0.60 万元"},
        {"a view that gives other amounts at every reading",
         [](TBudgetRows&, const QString& F) {
             RunSql(F, {"drop view vwbudgetadj", RandomView});
         },
         "101", "11", false, "审核未通过"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.What);
        TempDir Dir;
        const QString Db = Dir.File("budget.db");
        {
            TBudgetRows Rows(Db);
            Department(Rows);
            Case.Data(Rows, Db);
        }
        TReportScope Scope(Db, "101001", true);
        TCellDocument Grid;
        const TFillResult Result =
            FillReport(Grid, Scope.Context(Case.Prefix, "省教育厅", Case.Fund), Case.Fund, false);
        ASSERT_FALSE(Result.Failed()) << Result.QueryError.toStdString();
        EXPECT_GT(Result.QueryRows, 1);
        EXPECT_EQ(Result.Audit.Passed(), Case.Passes) << Result.Audit.Line().toStdString();
        EXPECT_TRUE(Result.Audit.Line().contains(QString::fromUtf8(Case.Says)))
            << Result.Audit.Line().toStdString();
    }
}

using TAdjs = std::vector<TBudgetRows::TAdj>;

struct TFilled {
    TCellDocument Grid;
    TFillResult Result;
};

// The department's database with AExtra added.
QString DepartmentDb(const TempDir& ADir, const TAdjs& AExtra) {
    const QString Db = ADir.File("budget.db");
    TBudgetRows Rows(Db);
    Department(Rows);
    for (const TBudgetRows::TAdj& Adj : AExtra)
        Rows.Adj(Adj);
    return Db;
}

// The table of AFund (the summary for an empty code) as a department user
// sees it.
std::unique_ptr<TFilled> Fill(const QString& ADb, const QString& AFund, bool ANumbers) {
    TReportScope Scope(ADb, "101001", true);
    auto Filled = std::make_unique<TFilled>();
    Filled->Result =
        FillReport(Filled->Grid, Scope.Context("101", "省教育厅", AFund), AFund, ANumbers);
    return Filled;
}

// What a clerk adds up on paper: each printed total against the rows
// printed under it, each difference with its reason (all of them, so none
// is found where there is none), in the strip too.
TEST(AuditTest, PrintedTotalsAreHeldAgainstThePrintedRows) {
    const TBudgetRows::TAdj Former = {"101002001", "11", "2010102", "11", "31", 8000};
    const TBudgetRows::TAdj NegativeDirect = {"101002001", "11", "2010102", "11", "10", -1600};
    const TAdjs Thirds = {{"101002001", "11", "2010102", "11", "10", 3333.33},
                          {"101002001", "11", "2080101", "11", "10", 3333.33},
                          {"101002001", "11", "2010101", "11", "10", 3333.33}};
    const char* const SplitNegative =
        "合计行与所列各行之差（预算数栏）：拆分行的其余部分净额为负，未单列成行 -0.16 万元（1 "
        "行）；"
        "合计行与所列各行之差（基本支出直接支付栏）：拆分行的其余部分净额为负，未单列成行 -0.16 "
        "万元（1 行）";
    const struct {
        const char* What;
        TAdjs Extra;
        const char* Fund;
        bool Numbers;
        const char* Says; // the differences, '|' between those not next to each other
        const char* Strip;
    } Cases[] = {
        {"a split row's negative rest has no row",
         {Former, NegativeDirect},
         "11",
         false,
         SplitNegative,
         "审核通过（合计含拆分行未单列的部分 -0.16 万元，1 行）"},
        {"the same in the summary",
         {Former, NegativeDirect},
         "",
         true,
         SplitNegative,
         "审核通过（合计含拆分行未单列的部分 -0.16 万元，1 行）"},
        {"a special account's treasury rest has no row",
         {{"101002002", "21", "2080101", "11", "10", 12000}},
         "",
         true,
         "合计行与所列各行之差（预算数栏）：拆分行只列暂按原渠道拨付的部分，其余金额未单列成行 "
         "1.20 万元（1 行）",
         "审核通过（合计含拆分行未单列的部分 1.20 万元，1 行）"},
        {"a row that nets to zero",
         {{"101002001", "11", "2010102", "11", "10", 5000},
          {"101002001", "11", "2010102", "11", "20", -5000}},
         "11",
         true,
         "二级单位净额不大于零而未列出的行 0.00 万元（1 "
         "行）|合计行与所列各行之差（基本支出授权支付栏）："
         "不大于 0.001 的金额（负数或不足一分）不列示 0.50 万元（1 行）",
         "审核通过（合计含未列出的行 0.00 万元，1 行）"},
        {"a former part below zero is not shown",
         {Former, {"101002001", "11", "2010102", "12", "31", -1000}},
         "11",
         true,
         "合计行与所列各行之差（预算数栏）：不大于 0.001 的金额（负数或不足一分）不列示 -0.10 "
         "万元（1 行）",
         "审核通过（合计含不列示的金额 -0.10 万元，1 行）；"},
        {"amounts shown to the cent", Thirds, "11", false,
         "合计行与所列各行之差（预算数栏）：金额按两位小数列示的舍入差 0.01 万元；"
         "合计行与所列各行之差（基本支出直接支付栏）：金额按两位小数列示的舍入差 0.01 万元",
         "审核通过（合计含舍入差 0.01 万元）"},
        {"the same as numbers", Thirds, "11", true, "", "审核通过；"},
        {"a block total's negative amount",
         {{"101002001", "12", "2120801", "11", "10", 5000},
          {"101002001", "12", "2120801", "12", "20", -3000}},
         "",
         true,
         "总计行与各合计行之差（项目支出授权支付栏）：不大于 0.001 的金额（负数或不足一分）不列示 "
         "-0.30 万元（1 行）",
         "审核通过；"},
        {"a special account's note hides an amount",
         {{"101001", "21", "2010101", "12", "10", 20000}},
         "21",
         false,
         "合计行与所列各行之差（项目支出直接支付栏）：注明“暂按原渠道拨付”的单元格不列金额 -2.00 "
         "万元（1 行）",
         "审核通过；"},
        {"former-channel amounts that net below zero",
         {{"101002001", "11", "2010102", "11", "10", 50000},
          {"101002001", "11", "2010102", "11", "31", -40000},
          {"101002001", "11", "2080101", "11", "31", -9000}},
         "11",
         true,
         "暂按原渠道拨付的金额净额为负（调减多于拨付），不在支付方式各栏 -1.00 万元（2 行）；"
         "暂按原渠道拨付的金额中不在所列各行的部分（未列出或重复列出的行），不在支付方式各栏 -0.90 "
         "万元",
         "审核通过"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.What);
        TempDir Dir;
        const auto Filled = Fill(DepartmentDb(Dir, Case.Extra), Case.Fund, Case.Numbers);
        const TAuditResult& Audit = Filled->Result.Audit;
        EXPECT_TRUE(Audit.Passed()) << Audit.Line().toStdString();
        const QString Says = QString::fromUtf8(Case.Says);
        for (const QString& Part : Says.split('|'))
            EXPECT_TRUE((Audit.Line() + "；").contains(Part)) << Audit.Line().toStdString();
        EXPECT_EQ(Audit.Line().count("之差（"), Says.count("之差（")) << Audit.Line().toStdString();
        EXPECT_TRUE((Audit.Brief() + "；").startsWith(QString::fromUtf8(Case.Strip)))
            << Audit.Brief().toStdString();
    }
}

// A state-assets department: every fund nature, every expenditure kind and
// channel in each, kinds outside their fund's columns, a former-channel
// expense amount of state capital, a fund nature outside the four blocks and
// a subject that nets below zero, each with an amount of its own.
void StateAssets(TBudgetRows& ARows) {
    ARows.Unit("106", "省国资委", false);
    ARows.Unit("106001", "省国资委本级");
    ARows.Unit("106002", "省国资运营公司");
    ARows.Fund("13", "其他资金");
    const TBudgetRows::TAdj Adjs[] = {{"106001", "11", "2010101", "11", "10", 100000},
                                      {"106001", "11", "2010101", "11", "20", 20000},
                                      {"106001", "11", "2010101", "12", "10", 30000},
                                      {"106001", "11", "2010101", "12", "20", 4000},
                                      {"106001", "11", "2010101", "11", "31", 5000},
                                      {"106001", "11", "2010101", "12", "31", 600},
                                      {"106001", "11", "2010102", "17", "10", 7000},
                                      {"106002", "12", "2120801", "11", "10", 80000},
                                      {"106002", "12", "2120801", "12", "20", 900},
                                      {"106002", "12", "2120801", "18", "20", 9000},
                                      {"106002", "21", "2080101", "11", "31", 50000},
                                      {"106002", "21", "2080101", "12", "10", 11000},
                                      {"106001", "31", "2230101", "17", "10", 60000},
                                      {"106001", "31", "2230101", "17", "20", 12000},
                                      {"106001", "31", "2230101", "18", "10", 7300},
                                      {"106001", "31", "2230101", "18", "20", 3000},
                                      {"106001", "31", "2230101", "19", "10", 2000},
                                      {"106001", "31", "2230101", "19", "20", 1000},
                                      {"106001", "31", "2230101", "18", "31", 1500},
                                      {"106001", "31", "2230101", "11", "10", 2500},
                                      {"106002", "31", "2050101", "17", "10", -4000},
                                      {"106001", "13", "2010101", "11", "10", 25000}};
    for (const TBudgetRows::TAdj& Adj : Adjs)
        ARows.Adj(Adj);
}

// Each table's audit names every cause with its amount: a term of the
// wrong sign or of another column changes a line.
TEST(AuditTest, StateAssetsTablesNameEveryCauseWithItsAmount) {
    TempDir Dir;
    const QString Db = Dir.File("budget.db");
    {
        TBudgetRows Rows(Db);
        StateAssets(Rows);
    }
    TReportScope Scope(Db, "106001", true);
    const std::pair<const char*, const char*> Lines[] = {
        {"",
         "国有资本经营预算净额不大于零而未列出的科目 -0.40 万元（1 行）；资金性质 13（其他资金）"
         "不在四个板块之内，只计入总计（明细数据） 2.50 万元（1 行）；财政专户管理资金的直接支付和"
         "授权支付金额，板块内只列暂按原渠道拨付的金额，只计入总计各栏 1.10 万元；支出类型不属于所"
         "在板块各栏的金额，只计入总计各栏 1.85 万元；暂按原渠道拨付的金额，不在总计的支付方式各栏 "
         "5.56 万元；不属于表中各栏的支出类型或支付方式的金额，只计入合计栏 0.15 万元；合计行与所"
         "列各行之差（预算数栏）：拆分行只列暂按原渠道拨付的部分，其余金额未单列成行 1.10 万元（1 "
         "行）"},
        {"11",
         "暂按原渠道拨付的金额，不在支付方式各栏 0.56 万元（1 行）；不属于表中各栏的支出类型或"
         "支付方式的金额，只计入合计栏 0.70 万元"},
        {"12", "不属于表中各栏的支出类型或支付方式的金额，只计入合计栏 0.90 万元"},
        {"21", "暂按原渠道拨付的金额，不在支付方式各栏 5.00 万元（1 行）"},
        {"31",
         "本级净额不大于零而未列出的行 -0.40 万元（1 行）；不属于表中各栏的支出类型或支付方式的"
         "金额，只计入合计栏 2.00 万元"}};
    std::map<QString, TFillResult> Fills;
    for (const auto& [Fund, Line] : Lines) {
        TCellDocument Grid;
        Fills[Fund] = FillReport(Grid, Scope.Context("106", "省国资委", Fund), Fund, true);
        EXPECT_EQ(Fills[Fund].Audit.Line().toStdString(),
                  std::string("审核通过；已知原因的差额：") + Line);
    }
    // Between tables: each compared column, and only those, must agree.
    const std::pair<const char*, QStringList> Pairs[] = {
        {"11",
         {"预算数", "基本支出暂按原渠道", "项目支出暂按原渠道", "基本支出直接支付",
          "基本支出授权支付", "项目支出直接支付", "项目支出授权支付", "", "", ""}},
        {"12",
         {"预算数", "", "", "基本支出直接支付", "基本支出授权支付", "项目支出直接支付",
          "项目支出授权支付", "", "", ""}},
        {"21", {"预算数", "", "", "", "", "", "", "", "", ""}},
        {"31",
         {"预算数", "", "", "", "", "", "", "基本支出直接支付", "项目支出直接支付",
          "其他支出直接支付"}}};
    for (const auto& [Fund, Names] : Pairs) {
        for (int Column = -1; Column < int(TAuditAmounts::Count); ++Column) {
            TFillResult Detail = Fills[Fund];
            if (Column >= 0)
                Detail.GrandTotal[size_t(Column)] += 1;
            CompareWithSummary(Fills[""], Fund, Detail);
            const QString Name = Column < 0 ? QString() : Names[Column];
            EXPECT_EQ(Detail.Audit.Passed(), Name.isEmpty()) << Fund << " " << Column;
            const QString Says = "与汇总表不符：" + Name + "在汇总表中比本表合计多 -1.00 万元";
            EXPECT_TRUE(Name.isEmpty() || Detail.Audit.Line().contains(Says))
                << Detail.Audit.Line().toStdString();
        }
    }
}

// The same to the cent, and beyond it by the noise of adding up a province.
TEST(AuditTest, AmountsAreComparedToTheCent) {
    const struct {
        double A, B;
        bool Same;
    } Cases[] = {{1, 1.0000009, true},   {1, 1.0000011, false},     {0, -0.0000009, true},
                 {0, -0.0000011, false}, {1e9, 1e9 + 0.0009, true}, {1e9, 1e9 + 0.0011, false}};
    for (const auto& Case : Cases)
        EXPECT_EQ(TAuditAmounts::Same(Case.A, Case.B), Case.Same) << Case.A << " " << Case.B;
}

// A row or a cell the grid lost after the fill makes a printed total differ
// from its rows without a known reason.
TEST(AuditTest, ARowOrCellTheGridLostFailsTheTable) {
    const std::pair<std::function<void(TCellDocument&)>, const char*> Losses[] = {
        {[](TCellDocument& G) { G.SetRowCount(G.GetRowCount(0) - 1, 0); },
         "表中二级单位合计的预算数栏与其下所列各行之和相差，无已知原因 1.00"},
        {[](TCellDocument& G) { G.PutText(11, G.GetRowCount(0) - 1, 0, QString()); },
         "表中二级单位合计的基本支出直接支付栏与其下所列各行之和相差，无已知原因 1.00"},
        {[](TCellDocument& G) { G.PutText(10, 9, 0, "9.00"); },
         "表中省教育厅合计的预算数栏与其下所列各行之和相差，无已知原因 -1.00"}};
    TempDir Dir;
    const QString Db = DepartmentDb(Dir, {});
    for (const auto& [Lose, Says] : Losses) {
        const auto Filled = Fill(Db, "11", false);
        TAuditResult Again;
        Filled->Result.Printed->Check(Filled->Grid, Again);
        EXPECT_TRUE(Again.Passed()) << Again.Line().toStdString();
        Lose(Filled->Grid);
        Filled->Result.Printed->Check(Filled->Grid, Again);
        EXPECT_TRUE(Again.Line().contains(QString::fromUtf8(Says))) << Again.Line().toStdString();
    }
}

} // namespace
