#include "support/CellFixture.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A grid with a template of 8 rows (row 0 counted) and 12 columns.
class CellGridTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Grid.LoadTemplate(SummaryTemplate(), QString()), 0); }

    int AppendRow() {
        Grid.SetRowCount(Grid.GetRowCount(0) + 1, 0);
        return Grid.GetRowCount(0) - 1;
    }

    TCell5 Grid;
};

} // namespace

TEST_F(CellGridTest, AppendingAddsOneEmptyRowAfterTheTemplate) {
    EXPECT_EQ(Grid.GetRowCount(0), 8);
    EXPECT_EQ(AppendRow(), 8);
    Grid.PutText(2, 8, 0, QStringLiteral("205"));
    EXPECT_EQ(AppendRow(), 9);
    EXPECT_EQ(Grid.CellText(2, 8), QStringLiteral("205"));
    EXPECT_TRUE(Grid.Sheet().Cell(2, 9)->IsEmpty());
    EXPECT_EQ(Grid.Sheet().RowHeight(9), Grid.Sheet().DefaultRowHeight());
    // Only sheet 0 exists.
    Grid.SetRowCount(100, 1);
    EXPECT_EQ(Grid.GetRowCount(0), 10);
    EXPECT_EQ(Grid.GetRowCount(1), 0);
}

TEST_F(CellGridTest, CellsHoldTextOrNumber) {
    const int Row = AppendRow();
    Grid.PutNumber(6, Row, 0, 1234.5);
    EXPECT_EQ(Grid.Sheet().Cell(6, Row)->Kind, TCell::TKind::Number);
    EXPECT_EQ(Grid.CellText(6, Row), QStringLiteral("1,234.50"));
    Grid.PutText(6, Row, 0, QStringLiteral("暂按原渠道拨付"));
    EXPECT_EQ(Grid.Sheet().Cell(6, Row)->Kind, TCell::TKind::Text);
    Grid.PutText(6, Row, 0, QString());
    EXPECT_TRUE(Grid.Sheet().Cell(6, Row)->IsEmpty());
}

TEST(CellNumberFormat, GroupsThousandsAndNeverShowsMinusZero) {
    const std::pair<double, const char*> Cases[] = {
        {0.0, "0.00"},   {1234.5, "1,234.50"},         {-0.001, "0.00"},
        {-0.0, "0.00"},  {999999.999, "1,000,000.00"}, {-1234567.891, "-1,234,567.89"},
        {0.015, "0.02"},
    };
    for (const auto& [Value, Expected] : Cases)
        EXPECT_EQ(TCell::FormatNumber(Value), QString::fromLatin1(Expected)) << Value;
}

TEST_F(CellGridTest, WritesOutsideTheGridAreIgnoredOrWidenIt) {
    const int Row = AppendRow();
    Grid.PutText(1, Row + 1, 0, QStringLiteral("lost"));
    Grid.PutText(1, 0, 0, QStringLiteral("row zero"));
    Grid.PutText(1, Row, 3, QStringLiteral("other sheet"));
    EXPECT_EQ(Grid.GetRowCount(0), Row + 1);
    EXPECT_TRUE(Grid.CellText(1, Row).isEmpty());
    // A column beyond the last widens the grid, within a sane limit.
    Grid.PutText(13, Row, 0, QStringLiteral("extra"));
    EXPECT_EQ(Grid.Sheet().ColCount(), 13);
    Grid.PutText(TCellSheet::MaxColumns + 1, Row, 0, QStringLiteral("too far"));
    EXPECT_EQ(Grid.Sheet().ColCount(), 13);
}

TEST_F(CellGridTest, JoinCellsMergesAndReplacesOverlappingMerges) {
    const int Row = AppendRow();
    Grid.JoinCells(8, Row, 7, Row); // corners in any order
    ASSERT_NE(Grid.Sheet().MergeAt(8, Row), nullptr);
    EXPECT_EQ(*Grid.Sheet().MergeAt(8, Row), (TCellRange{7, Row, 8, Row}));

    Grid.JoinCells(8, Row, 10, Row);
    EXPECT_EQ(Grid.Sheet().MergeAt(7, Row), nullptr);
    EXPECT_EQ(*Grid.Sheet().MergeAt(9, Row), (TCellRange{8, Row, 10, Row}));

    const auto Before = Grid.Sheet().Merges().size();
    Grid.JoinCells(1, Row, 12, Row + 5); // beyond the last row: refused
    EXPECT_EQ(Grid.Sheet().Merges().size(), Before);
    EXPECT_EQ(Grid.Sheet().CellRect(9, Row).width(),
              Grid.Sheet().ColWidth(8) + Grid.Sheet().ColWidth(9) + Grid.Sheet().ColWidth(10));
}

TEST(CellCodes, AlignmentCodesMapToBothDirections) {
    struct TCase {
        int Code;
        TCell::TKind Kind;
        int Horizontal;
        int Vertical;
    };
    const TCase Cases[] = {
        {32, TCell::TKind::Text, TCell::AlignLeft, TCell::AlignMiddle},
        {33, TCell::TKind::Text, TCell::AlignLeft, TCell::AlignMiddle},
        {34, TCell::TKind::Text, TCell::AlignRight, TCell::AlignMiddle},
        {36, TCell::TKind::Number, TCell::AlignCentre, TCell::AlignMiddle},
        {32, TCell::TKind::Number, TCell::AlignRight, TCell::AlignMiddle},
        {0, TCell::TKind::Text, TCell::AlignLeft, TCell::AlignMiddle},
        {9, TCell::TKind::Text, TCell::AlignLeft, TCell::AlignTop},
        {18, TCell::TKind::Text, TCell::AlignRight, TCell::AlignBottom},
    };
    for (const TCase& Case : Cases) {
        TCell Cell;
        Cell.Kind = Case.Kind;
        Cell.Align = static_cast<std::uint8_t>(Case.Code);
        EXPECT_EQ(Cell.HorizontalAlign(), Case.Horizontal) << Case.Code;
        EXPECT_EQ(Cell.VerticalAlign(), Case.Vertical) << Case.Code;
    }
}

TEST_F(CellGridTest, StylesAndBordersChangeTheCellsLook) {
    const int Row = AppendRow();
    Grid.PutStyle(1, Row, 0, 2);
    Grid.PutStyle(2, Row, 0, 0);
    EXPECT_TRUE(Grid.Sheet().Cell(1, Row)->IsShaded());
    EXPECT_TRUE(Grid.Sheet().CellFont(*Grid.Sheet().Cell(1, Row)).bold());
    EXPECT_FALSE(Grid.Sheet().CellFont(*Grid.Sheet().Cell(2, Row)).bold());

    for (int Edge = 0; Edge < 4; ++Edge)
        Grid.PutBorder(3, Row, 0, Edge, 1);
    Grid.PutBorder(3, Row, 0, 1, 0); // line 0 takes the top edge away
    Grid.PutBorder(3, Row, 0, 7, 1); // no such edge
    const TCell& Cell = *Grid.Sheet().Cell(3, Row);
    EXPECT_EQ(Cell.Edge(TCell::EdgeLeft), 1);
    EXPECT_EQ(Cell.Edge(TCell::EdgeTop), 0);
    EXPECT_EQ(Cell.Edge(TCell::EdgeRight), 1);
    EXPECT_EQ(Cell.Edge(TCell::EdgeBottom), 1);
}

TEST_F(CellGridTest, FinishTableFramesTheBodyAndKeepsOwnBorders) {
    const int Body = AppendRow();
    Grid.PutText(2, Body, 0, QStringLiteral("205"));
    const int Note = AppendRow();
    Grid.JoinCells(1, Note, 12, Note);
    for (int Col = 1; Col <= 12; ++Col)
        for (int Edge : {0, 2, 3})
            Grid.PutBorder(Col, Note, 0, Edge, 1);
    Grid.FinishTable(7, 1, 0);
    Grid.MarkLastRows(Note, Note);

    for (int Col = 1; Col <= 12; ++Col)
        EXPECT_EQ(Grid.Sheet().Cell(Col, Body)->Borders, 0b01010101) << Col;
    EXPECT_EQ(Grid.Sheet().Cell(5, Note)->Edge(TCell::EdgeTop), 0);
    // The heading keeps its own frame (the title row has none).
    EXPECT_EQ(Grid.Sheet().Cell(1, 1)->Borders, 0);
    EXPECT_EQ(Grid.Sheet().Page().RepeatFirstRow, 1);
    EXPECT_EQ(Grid.Sheet().Page().RepeatLastRow, 7);
    EXPECT_EQ(Grid.Sheet().Page().KeepFirstRow, Note);
}

TEST_F(CellGridTest, ReadonlyGridRefusesEditing) {
    const int Row = AppendRow();
    Grid.resize(900, 400);
    Grid.show();
    ASSERT_TRUE(Grid.setProperty("WorkbookReadonly", true));
    const QPoint InCell = Grid.Sheet().CellRect(5, Row).center() + QPoint(8, 8);
    QTest::mouseClick(Grid.viewport(), Qt::LeftButton, {}, InCell);
    QTest::mouseDClick(Grid.viewport(), Qt::LeftButton, {}, InCell);
    EXPECT_EQ(Grid.viewport()->findChild<QLineEdit*>(), nullptr);

    Grid.SetWorkbookReadonly(false);
    QTest::mouseDClick(Grid.viewport(), Qt::LeftButton, {}, InCell);
    auto* Editor = Grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(Editor, nullptr);
    Editor->setText(QStringLiteral("改过"));
    QTest::keyClick(Editor, Qt::Key_Return);
    EXPECT_EQ(Grid.CellText(5, Row), QStringLiteral("改过"));
}

TEST_F(CellGridTest, PaintsHeadingAndRowsInTheWindow) {
    ASSERT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
    Grid.PutText(1, 1, 0, QStringLiteral("2024年市教育局公共财政预算资金范围划分明细建议表"));
    Grid.PutText(4, 2, 0, QStringLiteral("（按部门预算数核定）"));
    Grid.PutText(4, 3, 0, QStringLiteral("2024年预算构成"));
    FillDetailRows(Grid, 30);
    Grid.resize(1200, 560);
    Grid.show();
    const QImage Shot = Grid.grab().toImage();
    const QString Folder = qEnvironmentVariable("VARNHOLT_CELL_SHOTS");
    if (!Folder.isEmpty())
        Shot.save(QDir(Folder).filePath(QStringLiteral("grid.png")));
    // The title, centred in row 1, leaves dark pixels in the middle of it.
    const QRect Title = Grid.Sheet().CellRect(1, 1).translated(8, 8);
    int Dark = 0;
    for (int X = Title.center().x() - 100; X < Title.center().x() + 100; ++X)
        for (int Y = Title.top(); Y < Title.bottom(); ++Y)
            Dark += qGray(Shot.pixel(X, Y)) < 100 ? 1 : 0;
    EXPECT_GT(Dark, 200);
}
