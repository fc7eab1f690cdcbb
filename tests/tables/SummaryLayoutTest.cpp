// The summary table laid out from purpose-made data: one row per case the
// layout treats differently.
#include "report/tables/SummaryLayout.h"
#include "cell/TCell.h"
#include "cell/TCellDocument.h"
#include "report/tables/ReportCodes.h"
#include "support/ReportFixture.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

const QString Note = QString::fromUtf8(FormerChannelNote);

class SummaryLayoutTest : public TBudgetTest {
protected:
    void SetUp() override {
        Rows.Unit("101", "省教育厅", false);
        Rows.Unit("101001", "省教育厅本级");
        Rows.Unit("101002", "省实验学校", true, true);
    }
    void Fill(bool ANumbersAsValues = false) {
        TReportScope Scope(File, "101001");
        FillSummaryTable(Grid, Scope.Context("101", "省教育厅"), ANumbersAsValues);
    }
    void ExpectRow(int ARow, const QStringList& ATexts) {
        EXPECT_EQ(RowTexts(Grid, ARow, 12).join('|').toStdString(), ATexts.join('|').toStdString())
            << "row " << ARow;
    }
    int Style(int ACol, int ARow) const { return Grid.Sheet().Cell(ACol, ARow)->Style; }

    TCellDocument Grid;
};

TEST_F(SummaryLayoutTest, EveryKindOfRow) {
    // Fund 11: basic former-channel with a direct part; tiny and ordinary
    // amounts; basic and project former-channel parts only.
    Rows.Adj({"101001", "11", "2010101", "11", "31", 50000});
    Rows.Adj({"101001", "11", "2010101", "11", "10", 30000});
    Rows.Adj({"101001", "11", "2010102", "11", "10", 5});
    Rows.Adj({"101001", "11", "2010102", "11", "20", 100000});
    Rows.Adj({"101002", "11", "2050101", "11", "31", 20000});
    Rows.Adj({"101002", "11", "2050101", "12", "31", 10000});
    // Fund 12 with a former-channel amount: written plain.
    Rows.Adj({"101002", "12", "2120801", "11", "31", 10000});
    Rows.Adj({"101002", "12", "2120801", "12", "10", 40000});
    // Fund 21: former channel only.
    Rows.Adj({"101002", "21", "2080101", "11", "31", 40000});
    // Fund 31: capital, other and a former-channel expense amount.
    Rows.Adj({"101001", "31", "2230101", "17", "10", 60000});
    Rows.Adj({"101001", "31", "2230101", "19", "20", 7000});
    Rows.Adj({"101001", "31", "2230101", "18", "31", 1000});
    // Rows the filter leaves out: no channel, another year, another type.
    Rows.Adj({"101001", "11", "2010101", "11", "", 990000});
    Rows.Adj({"101001", "11", "2010101", "11", "10", 880000, "1", "21", "1", 2023});
    Rows.Adj({"101001", "11", "2010101", "11", "10", 880000, "0"});
    Fill();

    EXPECT_EQ(Grid.CellText(1, 1), "省教育厅2024年国库集中支付改革范围划分汇总建议表");
    EXPECT_EQ(Grid.CellText(1, 2), "单位预算码：101");
    EXPECT_EQ(Grid.CellText(6, 2), "（按部门预算数核定）");
    EXPECT_EQ(Grid.CellText(2, 3), "2024年预算构成");
    const QStringList Sub1 = {"201", "01", "01", "行政运行"};
    ExpectRow(
        8, {"省教育厅单位合计", "", "", "", "", "36.80", "9.00", "10.00", "4.00", "", "", "0.70"});
    ExpectRow(9, {"公共财政预算合计", "", "", "", "", "21.00", "3.00", "10.00", "", "", "", ""});
    ExpectRow(10,
              QStringList{"公共财政预算"} + Sub1 + QStringList{"5.00", Note, "", "", "", "", ""});
    ExpectRow(11, QStringList{""} + Sub1 + QStringList{"3.00", "3.00", "", "", "", "", ""});
    ExpectRow(12,
              {"", "201", "01", "02", "一般行政管理事务", "10.00", "", "10.00", "", "", "", ""});
    ExpectRow(13, {"", "205", "01", "01", "教育行政运行", "2.00", Note, "", "", "", "", ""});
    ExpectRow(14, {"", "205", "01", "01", "教育行政运行", "1.00", "", "", Note, "", "", ""});
    ExpectRow(15, {"政府性基金合计", "", "", "", "", "5.00", "", "", "4.00", "", "", ""});
    ExpectRow(16, {"政府性政府性基金", "212", "08", "01", "征地拆迁补偿", "5.00", "", "", "4.00",
                   "", "", ""});
    ExpectRow(17, {"财政专户管理资金合计", "", "", "", "", "4.00", Note, "", Note, "", "", ""});
    ExpectRow(18, {"财政专户管理资金", "208", "01", "01", "民政行政运行", "4.00", Note, "", "", "",
                   "", ""});
    ExpectRow(19, {"国有资本经营预算合计", "", "", "", "", "6.80", "6.00", "", "", "", "", "0.70"});
    ExpectRow(20, {"国有资本经营预算资金", "223", "01", "01", "资本性支出", "6.80", "6.00", "", "",
                   "", "", "0.70"});
    EXPECT_EQ(Grid.CellText(1, 21), "1、填报时，按照项级科目汇总。");
    EXPECT_TRUE(Grid.CellText(1, 22).startsWith("2、公共财政预算、政府性基金"));
    EXPECT_EQ(Grid.GetRowCount(0), 23);

    // Total rows are shaded, merged notes span their two columns, the
    // grand-total label is centred, the notes span the table.
    for (int Row : {8, 9, 15, 17, 19})
        EXPECT_EQ(Style(3, Row), StyleTotal) << Row;
    EXPECT_EQ(Style(3, 10), StyleOrdinary);
    ASSERT_NE(Grid.Sheet().MergeAt(8, 17), nullptr);
    EXPECT_EQ(Grid.Sheet().MergeAt(8, 17)->FirstCol, 7);
    EXPECT_EQ(Grid.Sheet().MergeAt(12, 22)->FirstCol, 1);
    EXPECT_EQ(Grid.Sheet().Cell(1, 8)->Align, AlignCentred);
    EXPECT_EQ(Grid.Sheet().Page().KeepFirstRow, 21);
}

TEST_F(SummaryLayoutTest, NumbersForExport) {
    Rows.Adj({"101001", "11", "2010101", "11", "31", 50000});
    Rows.Adj({"101001", "11", "2010101", "11", "10", 12345678.9});
    Rows.Adj({"101001", "31", "2230101", "19", "20", 20}); // 0.002 万元: still an amount
    Rows.Adj({"101001", "31", "2230101", "19", "10", 10}); // 0.001 万元: none
    // Added as doubles these give 6.000030000000001 万元: written as 6.00003.
    Rows.Adj({"101001", "31", "2230101", "17", "10", 30000.1});
    Rows.Adj({"101001", "31", "2230101", "17", "10", 30000.2});
    Fill(true);
    const TCell* Remainder = Grid.Sheet().Cell(6, 11);
    ASSERT_EQ(Remainder->Kind, TCell::TKind::Number);
    EXPECT_DOUBLE_EQ(Remainder->Number, 1234.56789);
    ASSERT_EQ(Grid.Sheet().Cell(7, 13)->Kind, TCell::TKind::Number);
    EXPECT_EQ(Grid.Sheet().Cell(7, 13)->Number, 6.00003);
    EXPECT_EQ(Grid.Sheet().Cell(7, 11)->Kind, TCell::TKind::Number);
    EXPECT_EQ(Grid.CellText(7, 10), Note);
    EXPECT_TRUE(Grid.Sheet().Cell(11, 13)->IsEmpty());

    Fill(false);
    EXPECT_EQ(Grid.Sheet().Cell(6, 11)->Kind, TCell::TKind::Text);
    EXPECT_EQ(Grid.CellText(6, 11), "1,234.57");
    EXPECT_EQ(Grid.CellText(12, 13), "0.00");
}

// The special-account total notes each kind of former-channel amount on
// its own: basic in columns 7-8, project in 9-10.
TEST_F(SummaryLayoutTest, SpecialAccountTotalNotesEachKindOnItsOwn) {
    Rows.Unit("102", "省民政厅", false);
    Rows.Unit("102001", "省民政厅本级", true, true);
    Rows.Adj({"101002", "21", "2080101", "11", "31", 40000});
    Rows.Adj({"102001", "21", "2080101", "12", "31", 40000});
    const std::tuple<const char*, QString, QString> Cases[] = {{"101", Note, ""},
                                                               {"102", "", Note}};
    for (const auto& [Prefix, Basic, Project] : Cases) {
        TReportScope Scope(File, "101001");
        FillSummaryTable(Grid, Scope.Context(Prefix, "单位"), false);
        ASSERT_EQ(Grid.CellText(1, 9), "财政专户管理资金合计") << Prefix;
        EXPECT_EQ(Grid.CellText(7, 9), Basic) << Prefix;
        EXPECT_EQ(Grid.CellText(9, 9), Project) << Prefix;
    }
}

// No data, or only the grand total (a fund nature outside the four): the
// heading alone.
TEST_F(SummaryLayoutTest, NothingToShowLeavesTheHeading) {
    Fill();
    EXPECT_EQ(Grid.GetRowCount(0), 8);
    EXPECT_EQ(Grid.CellText(1, 1), "省教育厅2024年国库集中支付改革范围划分汇总建议表");

    Rows.Adj({"101001", "99", "2010101", "11", "10", 50000});
    Fill();
    EXPECT_EQ(Grid.GetRowCount(0), 8);
}

} // namespace
