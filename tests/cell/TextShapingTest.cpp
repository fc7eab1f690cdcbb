// Texts drawn the quick way must land where Qt's own layout puts them:
// numbers shaped without a layout, glyphs of many cells drawn as one run.
#include "cell/TCellCodeShaper.h"
#include "cell/TCellDocument.h"
#include "cell/TCellGlyphGather.h"
#include "cell/TCellLaidTexts.h"
#include "cell/TCellRenderer.h"
#include "cell/TCellTextDrawer.h"
#include "support/CellFixture.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QRegularExpression>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

// Qt's layout of a one-line text, placed as the grid places it.
struct TQtLine {
    QList<QGlyphRun> Runs;
    qreal Height = 0;
    qreal Advance = 0;
    QRectF Bounds;
};

TQtLine QtLine(const QString& AText, const QFont& AFont, QPaintDevice* ADevice, qreal AWidth,
               Qt::Alignment AAlign) {
    QTextLayout Layout(AText, AFont, ADevice);
    QTextOption Option(AAlign | Qt::AlignVCenter);
    Option.setWrapMode(QTextOption::NoWrap);
    Layout.setTextOption(Option);
    TQtLine Line;
    Line.Height = TCellLaidTexts::StackLines(Layout, AWidth, QFontMetricsF(AFont).leading());
    Line.Runs = Layout.glyphRuns();
    Line.Advance = Layout.lineAt(0).horizontalAdvance();
    Line.Bounds = Layout.boundingRect();
    return Line;
}

// The template's body and heading fonts, plain and bold.
QList<QFont> TemplateFonts() {
    TCellDocument Grid;
    EXPECT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
    QList<QFont> Fonts;
    for (int Index = 0; Index < Grid.Sheet().FontCount(); ++Index) {
        QFont Font = Grid.Sheet().Font(Index);
        for (const bool Bold : {false, true}) {
            Font.setBold(Bold);
            Fonts.append(Font);
        }
    }
    return Fonts;
}

} // namespace

// Amounts, codes and the pairs the fonts kern (".-", "-,"), in every
// alignment, in cells roomy, exact to the step, odd and too narrow (the text
// then starts left of the cell), on paper and on screen: the same glyphs at
// the same places, the same line height and bounds as Qt's layout.
TEST(CodeShaper, LaysNumbersOutAsQtDoes) {
    QBuffer Pdf;
    Pdf.open(QIODevice::WriteOnly);
    QPdfWriter Writer(&Pdf);
    Writer.setResolution(600);
    QImage Screen(1, 1, QImage::Format_RGB32);
    const QStringList Texts{
        "0",     "7.20",  "358,539.61", "-2.65", "-0.01", "1,234,567,890.12", "101002002003004",
        ".-,-.", "9-.,8", "18.74",      "0.3",   "56789"};
    const qreal Widths[] = {0, 3.5, 10.01, 13.3, 41.015625, 84, 84.3, 200.77, -1};
    const Qt::Alignment Aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    int Compared = 0;
    for (QPaintDevice* Device : std::initializer_list<QPaintDevice*>{&Writer, &Screen}) {
        for (const QFont& Font : TemplateFonts()) {
            const TCellCodeShaper Shaper(Font, Device);
            ASSERT_TRUE(Shaper.Usable()) << Font.family().toStdString();
            TCellCodeShaper::TLine Line;
            for (const QString& Text : Texts) {
                for (qreal Width : Widths) {
                    // -1: as wide as the text's advance, short of its ink.
                    if (Width < 0)
                        Width = QtLine(Text, Font, Device, 1000, Qt::AlignLeft).Advance;
                    for (const Qt::Alignment Align : Aligns) {
                        const std::string Case =
                            Text.toStdString() + " in " + std::to_string(Width) + ", alignment " +
                            std::to_string(int(Align)) + ", " + Font.family().toStdString();
                        ASSERT_TRUE(Shaper.Shape(Text, Width, Align, Line)) << Case;
                        const TQtLine Qt = QtLine(Text, Font, Device, Width, Align);
                        ASSERT_EQ(Qt.Runs.size(), 1) << Case;
                        EXPECT_EQ(Line.Run().glyphIndexes(), Qt.Runs[0].glyphIndexes()) << Case;
                        EXPECT_EQ(Line.Run().positions(), Qt.Runs[0].positions()) << Case;
                        EXPECT_TRUE(Line.Run().rawFont() == Qt.Runs[0].rawFont()) << Case;
                        EXPECT_EQ(Line.Height, Qt.Height) << Case;
                        EXPECT_EQ(Line.Bounds, Qt.Bounds) << Case;
                        ++Compared;
                    }
                }
            }
        }
    }
    EXPECT_GT(Compared, 700);
}

// Anything but digits and the signs of amounts goes to Qt's layout, as
// does a cell of no width Qt can count (NaN, endless, 2^24 pixels and
// beyond) and everything once a comparison with Qt's layout has failed.
TEST(CodeShaper, TakesOnlyNumbersAndStopsAtTheFirstDifference) {
    QImage Screen(1, 1, QImage::Format_RGB32);
    TCellCodeShaper Shaper(TemplateFonts().first(), &Screen);
    TCellCodeShaper::TLine Line;
    for (const char* Text : {"", "A1", "1 2", "12%", "1e5", "(3)"})
        EXPECT_FALSE(Shaper.Shape(QString::fromUtf8(Text), 80, Qt::AlignRight, Line)) << Text;
    EXPECT_FALSE(Shaper.Shape(QStringLiteral("１２"), 80, Qt::AlignRight, Line));
    for (const qreal Width : {qQNaN(), qInf(), -qInf(), qreal(1 << 24), qreal(-(1 << 24))})
        EXPECT_FALSE(Shaper.Shape(QStringLiteral("12.50"), Width, Qt::AlignRight, Line)) << Width;
    EXPECT_TRUE(Shaper.Shape(QStringLiteral("12.50"), (1 << 24) - 1, Qt::AlignRight, Line));
    for (int Index = 0; Index < TCellCodeShaper::ToConfirm; ++Index) {
        EXPECT_TRUE(Shaper.Confirming());
        Shaper.Confirm(true);
    }
    EXPECT_FALSE(Shaper.Confirming());
    EXPECT_TRUE(Shaper.Shape(QStringLiteral("12.50"), 80, Qt::AlignRight, Line));
    Shaper.Confirm(false);
    EXPECT_FALSE(Shaper.Shape(QStringLiteral("12.50"), 80, Qt::AlignRight, Line));
}

namespace {

// Texts in two faces taking turns, one under the other, some rows
// underlined all along, some names too big for their cell, and enough numbers for the shaper to
// take over; drawn through ALaid, gathered when AGather is given.
void DrawTexts(QPainter& APainter, TCellLaidTexts& ALaid, TCellGlyphGather* AGather) {
    const QList<QFont> Fonts = TemplateFonts();
    QFont Underlined = Fonts[0];
    Underlined.setUnderline(true);
    ASSERT_FALSE(QRawFont::fromFont(Fonts[0]) == QRawFont::fromFont(Fonts[1]));
    ALaid.SetGather(AGather);
    QTextOption Wrapped(Qt::AlignLeft | Qt::AlignVCenter);
    QTextOption Number(Qt::AlignRight | Qt::AlignVCenter);
    Number.setWrapMode(QTextOption::NoWrap);
    for (int Row = 0; Row < 400; ++Row) {
        const QRectF Name(10, 10 + Row * 30, 80, 28);
        const QFont& Font = Row % 5 == 4 ? Underlined : Fonts[Row % 2];
        const QString Text = Row % 7 == 3
                                 ? QStringLiteral("Provincial office of financial supervision")
                                 : QStringLiteral("Row%1").arg(Row);
        ALaid.Draw(APainter, Name, Text, Font, &Font, Wrapped);
        const QRectF Amount(100, 10 + Row * 30, 90, 28);
        const QFont& AmountFont = Row % 5 == 4 ? Underlined : Fonts[0];
        ALaid.Draw(APainter, Amount, QString::number(Row * 1234.5 - 99, 'f', 2), AmountFont,
                   &AmountFont, Number);
    }
    if (AGather != nullptr)
        AGather->Flush(APainter);
    ALaid.SetGather(nullptr);
}

} // namespace

// Gathered into runs, the texts cover the same pixels as drawn one by one,
// and a PDF reader copying them gets them in the order they were drawn
// (Latin names: Qt's own text map, unmended here, names some ideographs by
// their radicals).
TEST(GlyphGather, DrawsWhatTheTextsDrawInTheirOrder) {
    QImage Alone(200, 12020, QImage::Format_RGB32), Gathered(Alone.size(), QImage::Format_RGB32);
    for (QImage* Image : {&Alone, &Gathered}) {
        Image->fill(Qt::white);
        QPainter Painter(Image);
        TCellLaidTexts Laid;
        TCellGlyphGather Gather;
        DrawTexts(Painter, Laid, Image == &Gathered ? &Gather : nullptr);
    }
    EXPECT_TRUE(Alone == Gathered);

    TempDir Dir;
    const QString File = Dir.File(QStringLiteral("gathered.pdf"));
    {
        QPdfWriter Writer(File);
        Writer.setPageSize(QPageSize(QSizeF(200, 12100), QPageSize::Point));
        Writer.setResolution(72);
        QPainter Painter(&Writer);
        TCellLaidTexts Laid;
        TCellGlyphGather Gather;
        DrawTexts(Painter, Laid, &Gather);
    }
    QString Expected;
    for (int Row = 0; Row < 400; ++Row)
        Expected += (Row % 7 == 3 ? QStringLiteral("Provincial office of financial supervision")
                                  : QStringLiteral("Row%1").arg(Row)) +
                    QString::number(Row * 1234.5 - 99, 'f', 2);
    EXPECT_EQ(PdfText(File).remove(QRegularExpression(QStringLiteral("\\s"))).toStdString(),
              Expected.remove(QLatin1Char(' ')).toStdString());
}

// A name too long for its row and a code too wide for its column: each
// stays inside its cell, though the texts around them are gathered.
TEST(GlyphGather, TextsTooBigForTheirCellStayInIt) {
    TCellDocument Grid;
    ASSERT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
    const int Row = Grid.Sheet().RowCount() + 1;
    Grid.SetRowCount(Row + 1, 0);
    Grid.PutText(3, Row, 0, QStringLiteral("省地方金融监督管理局本级省地方金融监督管理局本级"));
    Grid.PutText(4, Row, 0, QStringLiteral("101002002003004005"));
    for (const int Col : {2, 5, 6})
        Grid.PutText(Col, Row, 0, QStringLiteral("201"));
    Grid.PutRowHeight(1, Grid.Sheet().DefaultRowHeight(), Row, 0);
    const TCellSheet& Sheet = Grid.Sheet();
    QImage Image(Sheet.TotalWidth(), Sheet.TotalHeight() + 40, QImage::Format_RGB32);
    Image.fill(Qt::white);
    {
        QPainter Painter(&Image);
        TCellTextDrawer Drawer;
        TCellRenderer(Sheet, Grid.Fitter(), Drawer).Paint(Painter, {1, Row, Sheet.ColCount(), Row});
    }
    const auto Inked = [&](const QRect& AArea) {
        for (int Y = AArea.top(); Y <= AArea.bottom(); ++Y)
            for (int X = AArea.left(); X <= AArea.right(); ++X)
                if (qGray(Image.pixel(X, Y)) < 200)
                    return true;
        return false;
    };
    const QRect Name = Sheet.CellRect(3, Row), Code = Sheet.CellRect(4, Row);
    for (const int Col : {2, 5, 6})
        EXPECT_TRUE(Inked(Sheet.CellRect(Col, Row).adjusted(1, 1, -1, -1))) << "column " << Col;
    EXPECT_TRUE(Inked(Name.adjusted(1, 1, -1, -1)));
    EXPECT_FALSE(Inked(QRect(Name.left() + 1, Name.bottom() + 2, Name.width() - 2, 30)));
    EXPECT_TRUE(Inked(Code.adjusted(1, 1, -1, -1)));
    EXPECT_FALSE(Inked(QRect(Code.left() + 1, Code.bottom() + 2, Code.width() - 2, 30)));
}
