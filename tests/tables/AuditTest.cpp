// The audit of the tables on purpose-made data: each difference a table can
// show between its totals and what it lists, with or without a known cause.
#include "cell/TCellDocument.h"
#include "report/tables/ReportFill.h"
#include "support/ReportFixture.h"

#include <functional>
#include <gtest/gtest.h>

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
        {"former-channel amounts in the detail table", [](TBudgetRows&, const QString&) {}, "101",
         "11", true, "暂按原渠道拨付的金额，不在支付方式各栏 3.00 万元（1 行）"},
        {"a unit without sub-units lists its own rows", [](TBudgetRows&, const QString&) {},
         "101002002", "11", true, "审核通过"},
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

} // namespace
