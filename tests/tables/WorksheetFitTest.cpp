// A table's rows counted before its fill, held against the table the fill
// draws on a generated province, on every engine: at a limit of exactly its
// rows and one row less.
#include "report/tables/WorksheetFit.h"
#include "cell/TCellDocument.h"
#include "cell/TCellXlsxWriter.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportHost.h"
#include "support/EngineFixture.h"
#include "support/ReportFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class WorksheetFitOnEngines : public TEngineTest {};
class WorksheetFitByHand : public TBudgetTest {};

struct TCase {
    const char* Prefix; // "1": levels from 0, the prefix's own code in two
    const char* DeptMode;
    bool FewUnits; // no grand total
};

} // namespace

// The summary and every detail table, for a department (rows split for
// former-channel amounts, the first row not) and for a unit, with and
// without the grand total. The adjustments alone answer a worksheet's
// limit; a limit of the table's own rows has its query counted.
TEST_P(WorksheetFitOnEngines, RowsCountedBeforeTheFillAreTheFillsRows) {
    int Listed = 0, Split = 0; // tables with rows, and with rows split
    const TCase Cases[] = {{"101", "1", false},
                           {"101", "1", true},
                           {"101", "0", false},
                           {"1", "1", false},
                           {"1", "1", true}};
    for (const TCase& Case : Cases) {
        Host().SetUnit("101001", Case.DeptMode);
        const TReportFilter Filter{2024, 1, "1", 0, Case.Prefix, "选定单位"};
        for (const QString Fund : {"", "11", "12", "21", "31"}) {
            const std::string Name = std::string(Case.Prefix) + " " + Case.DeptMode +
                                     (Case.FewUnits ? " few " : " ") + Fund.toStdString();
            TReportContext Context = MakeReportContext(Filter, "预算数", Fund);
            Context.ParentHasFewUnits = Case.FewUnits;
            TCellDocument Grid;
            const TFillResult Filled = FillReport(Grid, Context, Fund, true);
            ASSERT_FALSE(Filled.Failed()) << Name;
            const int Rows = Grid.GetRowCount(0) - 1;
            Listed += Rows > 7 ? 1 : 0;
            Split += Rows > 7 + Filled.QueryRows ? 1 : 0;

            const TWorksheetFit Default = CheckWorksheetFit(Context, Fund);
            EXPECT_EQ(Default.Limit, TCellXlsxWriter::WorksheetRows);
            EXPECT_TRUE(Default.Fits() && !Default.Counted && Default.AtMost >= Rows) << Name;
            const TWorksheetFit AtLimit = CheckWorksheetFit(Context, Fund, Rows);
            EXPECT_TRUE(AtLimit.Counted && AtLimit.QueryError.isEmpty() && !AtLimit.TooLong())
                << Name;
            EXPECT_TRUE(AtLimit.AtLeast <= Rows && Rows <= AtLimit.AtMost) << Name;
            if (Fund.isEmpty())
                continue; // the summary is bounded, not counted to the row
            EXPECT_EQ(AtLimit.AtLeast, Rows) << Name;
            EXPECT_EQ(AtLimit.AtMost, Rows) << Name;
            const TWorksheetFit Over = CheckWorksheetFit(Context, Fund, Rows - 1);
            EXPECT_TRUE(AtLimit.Fits() && Over.TooLong() && !Over.Fits()) << Name;
        }
    }
    EXPECT_GE(Listed, 15);
    EXPECT_GE(Split, 4);
}

// A count that cannot be made says neither that the table fits nor that
// it is too long.
TEST(WorksheetFit, AFailedCountAnswersNothing) {
    TempDir Dir;
    THostScope Gone(QStringLiteral("Provider=SQLite;Data Source=") + Dir.File("missing/none.db"));
    const TReportContext Context =
        MakeReportContext({2024, 1, "1", 0, "101", "选定单位"}, "预算数", "11");
    for (const QString Fund : {"", "11"}) {
        const TWorksheetFit Failed = CheckWorksheetFit(Context, Fund, 10);
        EXPECT_FALSE(Failed.QueryError.isEmpty());
        EXPECT_FALSE(Failed.Fits() || Failed.TooLong());
    }
}

VARNHOLT_INSTANTIATE_ON_ENGINES(WorksheetFitOnEngines);

// Made by hand: the grand total and a unit's row both keep a basic and a
// project part in the former channel and pay the rest through the
// treasury, so the unit's row takes three grid rows and the grand total,
// the first row, one.
TEST_F(WorksheetFitByHand, ARowWithEveryPartIsCountedAsThreeRows) {
    Rows.Unit("101", "省教育厅", false);
    Rows.Unit("101001", "省教育厅本级");
    Rows.Unit("101002", "省实验学校");
    for (const auto& [Ipid, Pid] : {std::pair{"11", "31"}, {"12", "31"}, {"11", "10"}})
        Rows.Adj({"101001", "11", "2010101", Ipid, Pid, 10000});
    Rows.Adj({"101002", "11", "2010101", "11", "10", 10000});
    TReportScope Scope(File, "101001", true);
    const TReportContext Context = Scope.Context("101", "省教育厅", "11");
    TCellDocument Grid;
    ASSERT_EQ(FillReport(Grid, Context, "11", true).QueryRows, 4);
    const int Grand = 1, Subtotal = 1, Unit = 3, Other = 1;
    ASSERT_EQ(Grid.GetRowCount(0) - 1, 7 + Grand + Subtotal + Unit + Other);
    for (const int Limit : {Grid.GetRowCount(0) - 1, Grid.GetRowCount(0) - 2}) {
        const TWorksheetFit Fit = CheckWorksheetFit(Context, "11", Limit);
        EXPECT_EQ(Fit.AtLeast, Grid.GetRowCount(0) - 1);
        EXPECT_EQ(Fit.AtMost, Grid.GetRowCount(0) - 1);
        EXPECT_EQ(Fit.TooLong(), Limit < Grid.GetRowCount(0) - 1);
    }
}
