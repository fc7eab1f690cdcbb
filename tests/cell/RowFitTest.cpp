#include "support/CellFixture.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class RowFitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
        Grid.SetRowCount(Grid.GetRowCount(0) + 1, 0);
        Row = Grid.GetRowCount(0) - 1;
    }

    TCell5 Grid;
    int Row = 0;
    const QString Long = QStringLiteral(
        "教育部直属高等学校中央财政支持地方高校改革发展资金项目（含学生资助补助经费和基本建设）");
};

// The height the text takes when a painter draws it into a cell.
int PaintedHeight(const QString& AText, const QFont& AFont, int AWidth) {
    QImage Image(1, 1, QImage::Format_RGB32);
    QPainter Painter(&Image);
    Painter.setFont(AFont);
    const QRectF Box =
        Painter.boundingRect(QRectF(0, 0, AWidth, 1e6), TCellRowFitter::LayoutText(AText),
                             TCellRowFitter::TextOption(Qt::AlignLeft));
    return std::max(static_cast<int>(std::ceil(QFontMetricsF(AFont).height())),
                    static_cast<int>(std::ceil(Box.height())));
}

} // namespace

TEST_F(RowFitTest, ShortTextsKeepTheDefaultHeight) {
    EXPECT_EQ(Grid.FitRowHeight(Row), Grid.Sheet().DefaultRowHeight());
    Grid.PutText(7, Row, 0, QStringLiteral("行政运行"));
    Grid.PutNumber(10, Row, 0, 1234.5);
    EXPECT_EQ(Grid.FitRowHeight(Row), Grid.Sheet().DefaultRowHeight());
}

TEST_F(RowFitTest, WrappedTextGrowsTheRowAndMergedWidthShrinksItAgain) {
    Grid.PutText(7, Row, 0, Long);
    const int Narrow = Grid.FitRowHeight(Row);
    EXPECT_GT(Narrow, 2 * Grid.Sheet().DefaultRowHeight());

    Grid.JoinCells(7, Row, 9, Row);
    const int Wide = Grid.FitRowHeight(Row);
    EXPECT_LT(Wide, Narrow);
    EXPECT_GT(Wide, Grid.Sheet().DefaultRowHeight());

    // Bold type is wider, so a total row may need more room, never less.
    for (int Col = 1; Col <= 14; ++Col)
        Grid.PutStyle(Col, Row, 0, 2);
    EXPECT_GE(Grid.FitRowHeight(Row), Wide);
}

TEST_F(RowFitTest, TextsUnderAMergeOrInATallMergeDoNotSizeTheRow) {
    Grid.SetRowCount(Grid.GetRowCount(0) + 1, 0);
    Grid.PutText(8, Row, 0, Long); // will be hidden under the merge of 7..8
    Grid.JoinCells(7, Row, 8, Row);
    EXPECT_EQ(Grid.FitRowHeight(Row), Grid.Sheet().DefaultRowHeight());
    Grid.PutText(3, Row, 0, Long);
    Grid.JoinCells(3, Row, 3, Row + 1);
    EXPECT_EQ(Grid.FitRowHeight(Row), Grid.Sheet().DefaultRowHeight());
}

TEST(RowFitter, AgreesWithPaintedLayoutWhateverPathItTakes) {
    TCellSheet Sheet;
    TCellRowFitter Fitter(Sheet);
    const QFont Fonts[] = {TCellSheet::MakeFont(QStringLiteral("Noto Serif CJK SC"), 10, false),
                           TCellSheet::MakeFont(QStringLiteral("Noto Sans CJK SC"), 10, true)};
    const QString Texts[] = {QStringLiteral("行政运行"),
                             QStringLiteral("1,234,567.89"),
                             QStringLiteral("其他普通教育支出（含寄宿制学校补助）"),
                             QStringLiteral("Education administration and general affairs"),
                             QStringLiteral("第一行\n第二行"),
                             QStringLiteral("𠀀𠀁 surrogate"),
                             QStringLiteral("ZB20240000001234"),
                             QStringLiteral("省教育厅（北山市）-人员经费"),
                             QStringLiteral("*省实验学校一部"),
                             QStringLiteral("机关事业单位基本养老保险缴费支出"),
                             QStringLiteral("暂按原渠道拨付"),
                             QStringLiteral("省国有资产监督管理委员会本级-其他国有资本经营支出"),
                             QStringLiteral("2、公共财政预算、政府性基金、财政专户管理资金分基本支"
                                            "出和项目支出填写；国有资本经营预算分资本性支出。"),
                             QStringLiteral("Item 2050101: 《教育法》“义务教育” 2024 年, a b  c")};
    for (const QFont& Font : Fonts)
        for (const QString& Text : Texts)
            for (int Width : {30, 45, 60, 86, 120, 190, 400})
                for (int Pass = 0; Pass < 2; ++Pass) // second pass: from the cache
                    EXPECT_EQ(Fitter.TextHeight(Text, Font, Width),
                              PaintedHeight(Text, Font, Width))
                        << Text.toStdString() << " in " << Width;
}
