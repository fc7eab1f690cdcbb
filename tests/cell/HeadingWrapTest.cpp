// The column headings of every template, laid out as the grid lays them out
// on paper and on screen: a heading wraps only between its words, and its
// lines fit its cell.
#include "cell/TCellDocument.h"
#include "cell/TCellLaidTexts.h"
#include "cell/TCellRowFitter.h"
#include "support/CellFixture.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPdfWriter>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <optional>
#include <set>

namespace {

// The words the headings are made of; a heading may break between two of
// them, never inside one. A heading with a character none of them holds
// fails the test until its words are added here.
const char* const HeadingWords[] = {
    "财政", "直接", "授权",   "支付",   "国库", "集中", "方式", "预算数", "预算码", "预算",
    "构成", "功能", "分类",   "科目",   "名称", "指标", "编号", "单位",   "编码",   "序号",
    "资金", "性质", "资本性", "费用性", "其他", "基本", "项目", "支出",   "临时",   "部门",
    "核定", "二上", "万元",   "年",     "按",   "类",   "款",   "项"};

// Where a break is allowed: every boundary between two words. A number and
// the 年 after it are one word, a punctuation mark is a word of its own.
std::optional<std::set<int>> WordBoundaries(const QString& AText) {
    std::set<int> Boundaries;
    int At = 0;
    while (At < AText.size()) {
        int Length = 0;
        if (AText[At].isDigit()) {
            while (At + Length < AText.size() && AText[At + Length].isDigit())
                ++Length;
            if (At + Length < AText.size() && AText[At + Length] == QChar(u'年'))
                ++Length;
        } else if (AText[At].isPunct()) {
            Length = 1;
        } else {
            for (const char* Word : HeadingWords) {
                const QString Text = QString::fromUtf8(Word);
                if (Text.size() > Length && AText.mid(At, Text.size()) == Text)
                    Length = int(Text.size());
            }
        }
        if (Length == 0)
            return std::nullopt;
        At += Length;
        Boundaries.insert(At);
    }
    return Boundaries;
}

struct TLaidHeading {
    QStringList Lines;
    std::vector<int> Breaks;
    qreal Height = 0;
};

// The heading laid out in AWidth as the grid's cells lay out their texts.
TLaidHeading Lay(const QString& AText, const QFont& AFont, QPaintDevice* ADevice, qreal AWidth) {
    const QString Text = TCellRowFitter::LayoutText(AText);
    QTextLayout Layout(Text, AFont, ADevice);
    Layout.setTextOption(TCellRowFitter::TextOption(Qt::AlignCenter));
    TLaidHeading Laid;
    Laid.Height = TCellLaidTexts::StackLines(Layout, AWidth, QFontMetricsF(AFont).leading());
    for (int Line = 0; Line < Layout.lineCount(); ++Line) {
        const QTextLine Each = Layout.lineAt(Line);
        Laid.Lines << Text.mid(Each.textStart(), Each.textLength());
        if (Line > 0)
            Laid.Breaks.push_back(Each.textStart());
    }
    return Laid;
}

// What the fills write into the heading, besides the templates' own texts:
// the longest of each kind.
struct TFilledHeading {
    int Col, Row;
    const char* Text;
};

struct TTemplateCase {
    QString File;
    std::vector<TFilledHeading> Filled;
};

TEST(HeadingWrap, HeadingsBreakOnlyBetweenWordsAndFitTheirCells) {
    const std::vector<TFilledHeading> DetailFills = {
        {4, 2, "（按‘二上’预算数核定）"}, {4, 3, "2024年预算构成"}, {10, 4, "临时指标"}};
    const TTemplateCase Templates[] = {{SummaryTemplate(),
                                        {{1, 2, "单位预算码：101002003004005"},
                                         {6, 2, "（按部门临时指标核定）"},
                                         {2, 3, "2024年预算构成"},
                                         {6, 4, "临时指标"}}},
                                       {DetailTemplate(), DetailFills},
                                       {StateCapitalTemplate(), DetailFills}};
    // On paper (the PDF writer the grid prints with) and on screen.
    QBuffer Pdf;
    Pdf.open(QIODevice::WriteOnly);
    QPdfWriter Writer(&Pdf);
    Writer.setResolution(600);
    QImage Screen(1, 1, QImage::Format_RGB32);
    const std::pair<const char*, QPaintDevice*> Devices[] = {{"printed", &Writer},
                                                             {"on screen", &Screen}};
    for (const TTemplateCase& Case : Templates) {
        TCellDocument Grid;
        ASSERT_EQ(Grid.LoadTemplate(Case.File, QString()), 0) << Grid.LastError().toStdString();
        for (const TFilledHeading& Fill : Case.Filled)
            Grid.PutText(Fill.Col, Fill.Row, 0, QString::fromUtf8(Fill.Text));
        const TCellSheet& Sheet = Grid.Sheet();
        int Checked = 0;
        for (int Row = 2; Row <= 7; ++Row) {
            for (int Col = 1; Col <= Sheet.ColCount(); ++Col) {
                const TCell* Cell = Sheet.Cell(Col, Row);
                const TCellRange* Merge = Sheet.MergeAt(Col, Row);
                if (!Cell || Cell->DisplayText().isEmpty() ||
                    (Merge && (Merge->FirstCol != Col || Merge->FirstRow != Row)))
                    continue;
                const QString Text = Cell->DisplayText();
                const QRectF Inner =
                    QRectF(Merge ? Sheet.RangeRect(*Merge) : Sheet.CellRect(Col, Row))
                        .adjusted(TCellRowFitter::PaddingX, TCellRowFitter::PaddingY,
                                  -TCellRowFitter::PaddingX, -TCellRowFitter::PaddingY);
                const std::optional<std::set<int>> Allowed = WordBoundaries(Text);
                ASSERT_TRUE(Allowed) << "a heading word is missing: " << Text.toStdString();
                for (const auto& [Where, Device] : Devices) {
                    const TLaidHeading Laid =
                        Lay(Text, Sheet.CellFont(*Cell), Device, Inner.width());
                    const std::string Shown = Laid.Lines.join('/').toStdString() + " (" + Where +
                                              ", " + Case.File.section('/', -1).toStdString() + ")";
                    for (const int Break : Laid.Breaks)
                        EXPECT_TRUE(Allowed->count(Break)) << "split inside a word: " << Shown;
                    EXPECT_LE(Laid.Height, Inner.height() + 0.5) << "cut off: " << Shown;
                }
                ++Checked;
            }
        }
        EXPECT_GE(Checked, 15) << Case.File.toStdString();
    }
}

// A wrapped text's last line never holds one Chinese character alone while
// the line before can spare one; the number of lines stays what the row
// heights were fitted to. Widths are counted in characters of the font.
TEST(HeadingWrap, NoChineseCharacterStandsAloneOnTheLastLine) {
    struct TCase {
        const char* Text;
        int Chars;
        const char* Lines;
    };
    const TCase Cases[] = {
        {"省教育厅本级本级合计", 9, "省教育厅本级本级/合计"},
        {"省教育厅本级本级合计", 10, "省教育厅本级本级合计"},
        {"专项业务经费", 5, "专项业务/经费"},
        {"一二三四五六七", 3, "一二三/四五/六七"},
        // The line before would keep one character alone itself.
        {"合计", 1, "合/计"},
        {"一二三", 2, "一二/三"},
        {"经费合计", 3, "经费/合计"},
        // Other scripts break between words and keep their breaks.
        {"省教育厅本级X", 6, "省教育厅本级/X"},
    };
    QImage Device(10, 10, QImage::Format_RGB32);
    QFont Font(QStringLiteral("Noto Serif CJK SC"));
    Font.setPixelSize(13);
    const qreal Char = QFontMetricsF(Font, &Device).horizontalAdvance(QChar(u'国'));
    for (const TCase& Case : Cases) {
        const TLaidHeading Laid =
            Lay(QString::fromUtf8(Case.Text), Font, &Device, Char * Case.Chars + 0.5);
        EXPECT_EQ(Laid.Lines.join('/').toStdString(), Case.Lines)
            << Case.Text << " in " << Case.Chars;
    }
}

} // namespace
