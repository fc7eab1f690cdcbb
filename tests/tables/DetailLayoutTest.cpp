// The detail table laid out from purpose-made data: one row per case the
// layout treats differently.
#include "report/tables/DetailLayout.h"
#include "cell/TCell.h"
#include "cell/TCellDocument.h"
#include "report/tables/DetailQuery.h"
#include "report/tables/ReportCodes.h"
#include "report/tables/TMarkedUnits.h"
#include "support/ReportFixture.h"

#include <gtest/gtest.h>

namespace {

const QString Note = QString::fromUtf8(FormerChannelNote);

class DetailLayoutTest : public TBudgetTest {
protected:
    void SetUp() override {
        Rows.Unit("101", "省教育厅", false);
        Rows.Unit("101001", "省教育厅本级");
        Rows.Unit("101002", "省实验学校", false);
        Rows.Unit("101002001", "省实验学校一部", true, true);
        Rows.Unit("101002002", "省实验学校二部");
    }
    // Fund 11 rows of every kind, for a department user or not.
    void PublicBudgetRows() {
        Rows.Adj({"101001", "11", "2010101", "11", "31", 50000});
        Rows.Adj({"101001", "11", "2010101", "12", "31", 20000});
        Rows.Adj({"101001", "11", "2010101", "11", "10", 30000});
        Rows.Adj({"101001", "11", "2010102", "11", "20", 100000});
        Rows.Adj({"101001", "11", "2010102", "11", "10", 5});
        Rows.Adj({"101002001", "11", "2010101", "12", "20", 10000});
        Rows.Adj({"101002001", "11", "2050101", "11", "10", 40000});
        Rows.Adj({"101002002", "11", "2080101", "11", "10", 20000});
    }
    void Fill(const QString& AFund, const QString& ALogin = "101001", bool ADeptMode = true,
              bool ANumbersAsValues = false) {
        TReportScope Scope(File, ALogin, ADeptMode);
        FillDetailTable(Grid, Scope.Context("101", "省教育厅", AFund), AFund, ANumbersAsValues);
    }
    void ExpectRow(int ARow, const QStringList& ATexts, int ALastCol = 14) {
        QStringList Actual = RowTexts(Grid, ARow, ALastCol);
        Actual[7] = Actual[8] = QString(); // indicator code and name: their own test
        EXPECT_EQ(Actual.join('|').toStdString(), ATexts.join('|').toStdString()) << "row " << ARow;
    }

    TCellDocument Grid;
};

const QStringList Sub = {"201", "01", "01", "行政运行", "", ""};

TEST_F(DetailLayoutTest, DepartmentUserSeesEveryKindOfRow) {
    PublicBudgetRows();
    Fill("11");
    EXPECT_EQ(Grid.CellText(1, 1),
              "省教育厅2024年国库集中支付改革公共财政预算资金范围划分明细建议表");
    EXPECT_EQ(Grid.CellText(4, 2), "（按部门预算数核定）");
    EXPECT_EQ(Grid.CellText(4, 3), "2024年预算构成");
    const QString E = "";
    ExpectRow(8, {E, E, "省教育厅合计", E, E, E, E, E, E, "27.00", "9.00", "10.00", E, "1.00"});
    ExpectRow(9, {E, E, "省教育厅本级合计", E, E, E, E, E, E, "20.00", "3.00", "10.00", E, E});
    // Former-channel basic and project parts, then the rest: no amount of
    // the row is left out.
    ExpectRow(10, QStringList{"1", "101001", "省教育厅本级"} + Sub +
                      QStringList{"5.00", Note, E, E, E});
    ExpectRow(11, QStringList{E, E, E} + Sub + QStringList{"2.00", E, E, Note, E});
    ExpectRow(12, QStringList{E, E, E} + Sub + QStringList{"3.00", "3.00", E, E, E});
    ExpectRow(13,
              {E, E, E, "201", "01", "02", "一般行政管理事务", E, E, "10.00", E, "10.00", E, E});
    ExpectRow(14, {E, E, "二级单位合计", E, E, E, E, E, E, "7.00", "6.00", E, E, "1.00"});
    ExpectRow(15, QStringList{"2", "101002001", "*省实验学校一部"} + Sub +
                      QStringList{"1.00", E, E, E, "1.00"});
    ExpectRow(16, {E, E, E, "205", "01", "01", "教育行政运行", E, E, "4.00", "4.00", E, E, E});
    ExpectRow(17, {"3", "101002002", "省实验学校二部", "208", "01", "01", "民政行政运行", E, E,
                   "2.00", "2.00", E, E, E});
    EXPECT_EQ(Grid.GetRowCount(0), 18);
    EXPECT_FALSE(Grid.CellText(8, 10).isEmpty());
    EXPECT_FALSE(Grid.CellText(9, 10).isEmpty());
    EXPECT_TRUE(Grid.CellText(8, 11).isEmpty());

    const TCellSheet& Sheet = Grid.Sheet();
    EXPECT_EQ(Sheet.Cell(5, 9)->Style, StyleTotal);
    EXPECT_EQ(Sheet.Cell(3, 9)->Align, AlignCentred);
    EXPECT_EQ(Sheet.Cell(5, 10)->Style, StyleOrdinary);
    EXPECT_EQ(Sheet.Cell(3, 17)->Align, AlignName);
    EXPECT_EQ(Sheet.Page().RepeatLastRow, 7);
}

// At row 8, or for a user that is not a department, the row stays plain.
TEST_F(DetailLayoutTest, OthersSeePlainRows) {
    PublicBudgetRows();
    Fill("11", "101002001", false);
    const QString E = "";
    ExpectRow(8, {E, E, "省教育厅合计", E, E, E, E, E, E, "27.00", "9.00", "10.00", E, "1.00"});
    ExpectRow(10, QStringList{"1", "101001", "省教育厅本级"} + Sub +
                      QStringList{"10.00", "3.00", E, E, E});
    EXPECT_EQ(Grid.GetRowCount(0), 16);
}

// Few units under the logged-in unit's parent: no grand total.
TEST_F(DetailLayoutTest, GrandTotalFollowsTheParentGroup) {
    PublicBudgetRows();
    Rows.Unit("102", "省人大", false);
    Rows.Unit("102001", "省人大本级");
    Fill("11", "102001", false);
    EXPECT_EQ(Grid.CellText(3, 8), "省教育厅本级合计");
}

TEST_F(DetailLayoutTest, SpecialAccountFundsMarkTheTopRows) {
    Rows.Adj({"101001", "21", "2080101", "11", "31", 40000});
    Rows.Adj({"101002002", "21", "2080101", "12", "10", 10000});
    Fill("21");
    EXPECT_EQ(Grid.CellText(11, 8), Note);
    EXPECT_EQ(Grid.CellText(11, 9), Note);
    EXPECT_NE(Grid.Sheet().MergeAt(12, 8), nullptr);
    EXPECT_EQ(Grid.CellText(13, 8), "1.00"); // no project part: the amount stays
    EXPECT_EQ(Grid.CellText(11, 10), Note);
    EXPECT_EQ(Grid.CellText(13, 12), "1.00");
}

TEST_F(DetailLayoutTest, StateCapitalColumnsAndNumbers) {
    Rows.Adj({"101001", "31", "2230101", "17", "10", 60000});
    Rows.Adj({"101001", "31", "2230101", "18", "10", 7000});
    Rows.Adj({"101001", "31", "2230101", "19", "10", 3});
    Rows.Adj({"101001", "31", "2230101", "17", "20", 9000});
    Fill("31", "101001", true, true);
    const TCell* Capital = Grid.Sheet().Cell(11, 10);
    ASSERT_EQ(Capital->Kind, TCell::TKind::Number);
    EXPECT_DOUBLE_EQ(Capital->Number, 6.0);
    EXPECT_DOUBLE_EQ(Grid.Sheet().Cell(13, 10)->Number, 0.7);
    EXPECT_TRUE(Grid.Sheet().Cell(15, 10)->IsEmpty());
    EXPECT_DOUBLE_EQ(Grid.Sheet().Cell(10, 10)->Number, 7.6003);
    EXPECT_EQ(Grid.Sheet().Cell(16, 8)->Style, StyleTotal);
    EXPECT_EQ(Grid.CellText(1, 1),
              "省教育厅2024年国库集中支付改革国有资本经营预算资金范围划分明细建议表");
}

TEST(DetailLevels, RangeByPrefix) {
    const struct {
        const char* Prefix;
        int MaxLeafClass;
        int First;
        int Last;
    } Cases[] = {{"101", 3, 1, 3},
                 {"101001", 3, 1, 3},
                 {"101002", 3, 2, 3},
                 {"001", 2, 0, 2},
                 {"101", 0, 1, 1},
                 {"", 2, 0, 2},
                 {"1", 0, 0, 0},
                 {"101", 100000, 1, 100},
                 // Units without sub-units: their own level.
                 {"101002", 1, 1, 1},
                 {"101002002003", 3, 3, 3},
                 {"101002002", 0, 2, 2},
                 {"101002001", 2, 2, 2}};
    for (const auto& Case : Cases) {
        const TLevelRange Range = DetailLevelRange(Case.Prefix, Case.MaxLeafClass);
        EXPECT_EQ(Range.First, Case.First) << Case.Prefix;
        EXPECT_EQ(Range.Last, Case.Last) << Case.Prefix;
    }
    EXPECT_EQ(LevelNumeral(2), "二");
    EXPECT_EQ(LevelNumeral(0), "");
    EXPECT_EQ(LevelNumeral(10), "");
}

TEST_F(DetailLayoutTest, MaxLeafClassReadsTheUnitTable) {
    TReportScope Scope(File, "101001");
    EXPECT_EQ(MaxLeafClass("101"), 2);
    EXPECT_EQ(MaxLeafClass("101001"), 1);
    EXPECT_EQ(MaxLeafClass("109"), 0);
    EXPECT_EQ(MaxLeafClass("1_1"), 0);
}

} // namespace

// A code in pubdept and the same code in the adjustments may differ in
// letter case, or in trailing blanks on a fixed-width column: the mark
// follows what the unit's own query would find on that kind of database.
TEST(SpecialAccountMarks, CodesMatchAsTheDatabaseComparesThem) {
    const struct {
        TSqlKind Kind;
        const char* Marked;
        const char* Asked;
        bool Found;
    } Cases[] = {
        {TSqlKind::SQLite, "101a01", "101A01", true},
        {TSqlKind::SQLite, "101z01", "101Z01", true},
        {TSqlKind::SQLite, "101Z01", "101z01", true},
        {TSqlKind::SqlServer, "101z01", "101Z01", true},
        // The characters on either side of the letters do not fold.
        {TSqlKind::SQLite, "101`01", "101@01", false},
        {TSqlKind::SQLite, "101{01", "101[01", false},
        {TSqlKind::SqlServer, "101a01", "101A01", true},
        {TSqlKind::Access, "101a01", "101A01", true},
        {TSqlKind::PostgreSQL, "101a01", "101A01", false},
        {TSqlKind::Oracle, "101a01", "101A01", false},
        {TSqlKind::SqlServer, "101001   ", "101001", true},
        {TSqlKind::SqlServer, "101001", "101001 ", true},
        {TSqlKind::SQLite, "101001 ", "101001", false},
        {TSqlKind::PostgreSQL, "101001 ", "101001", false},
        {TSqlKind::SqlServer, " 101001", "101001", false},
        {TSqlKind::SqlServer, "1010011", "101001", false},
    };
    for (const auto& Case : Cases) {
        const TMarkedUnits Marks({QString::fromLatin1(Case.Marked)}, Case.Kind);
        EXPECT_EQ(Marks.Contains(QString::fromLatin1(Case.Asked)), Case.Found)
            << int(Case.Kind) << " '" << Case.Marked << "' '" << Case.Asked << "'";
    }
}
