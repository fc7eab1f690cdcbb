// What a table refuses to be drawn on or from: a template of another shape,
// amounts that are not finite numbers.
#include "cell/TCellDocument.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/ReportFill.h"
#include "report/tables/SummaryLayout.h"
#include "report/tables/TemplateFit.h"
#include "support/ReportFixture.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

// One heading row or one column off the table's shape, either way, is
// refused; only the table's own shape is taken.
TEST(TableGuards, TemplatesOfAnotherShapeAreRefused) {
    const struct {
        TTableKind Kind;
        const char* File;
    } Kinds[] = {{TTableKind::Summary, SummaryTemplateFile},
                 {TTableKind::Detail, DetailTemplateFile},
                 {TTableKind::StateCapital, StateCapitalTemplateFile}};
    for (const auto& Kind : Kinds) {
        for (int Rows : {-1, 0, 1}) {
            for (int Columns : {-1, 0, 1}) {
                TCellDocument Grid;
                ASSERT_EQ(Grid.LoadTemplate(BinaryDir() + "/templates/" + Kind.File, QString()), 0);
                const int Width = Grid.Sheet().ColCount();
                Grid.SetRowCount(Grid.GetRowCount(0) + Rows, 0);
                Grid.Sheet().SetColCount(Width + Columns);
                const QString Misfit = TemplateMisfit(Grid, Kind.Kind);
                const QString Expected =
                    Rows != 0 ? QString("表头应为 7 行，模板有 %1 行").arg(7 + Rows)
                    : Columns != 0 ? QString("应有 %1 列，模板有 %2 列（是否用错了模板？）")
                                         .arg(Width)
                                         .arg(Width + Columns)
                                   : QString();
                EXPECT_EQ(Misfit, Expected) << Kind.File << " " << Rows << " " << Columns;
            }
        }
    }
}

// An infinite amount makes the table unsound, one row of it as much as
// many: the table is not delivered and its audit fails naming the row.
TEST(TableGuards, AmountsThatAreNotFiniteMakeTheTableUnsound) {
    const double Infinite = std::numeric_limits<double>::infinity();
    // An infinite and a negative infinite amount under one total make it no
    // number at all, which the query drops with the total: one row is left.
    const struct {
        const char* What;
        const char* Fund;
        bool Negative;
        int Rows;
    } Cases[] = {{"summary", "", false, 3},
                 {"summary, one row", "", true, 1},
                 {"detail table", "11", false, 2},
                 {"detail table, one row", "11", true, 1}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.What);
        TempDir Dir;
        const QString Db = Dir.File("budget.db");
        {
            TBudgetRows Rows(Db);
            Rows.Unit("101", "省教育厅", false);
            Rows.Unit("101001", "省教育厅本级");
            Rows.Adj({"101001", "11", "2010101", "11", "10", Infinite});
            Rows.Adj({"101001", "11", "2010102", "11", "10", Case.Negative ? -Infinite : 5000});
        }
        TReportScope Scope(Db, "101001");
        TCellDocument Grid;
        const TFillResult Result =
            FillReport(Grid, Scope.Context("101", "省教育厅", Case.Fund), Case.Fund, true);
        EXPECT_EQ(Result.NotFiniteRows.size(), Case.Rows)
            << Result.NotFiniteRows.join(' ').toStdString();
        EXPECT_TRUE(Result.Unsound());
        EXPECT_TRUE(
            Result.StatusLine().startsWith("审核未通过：金额不是有限数（溢出或不是数字）："))
            << Result.StatusLine().toStdString();
    }
}

} // namespace
