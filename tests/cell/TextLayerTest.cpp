// What a program reads out of a printed PDF: every character as the grid
// holds it, read back by poppler without any normalisation.
#include "support/CellFixture.h"

#include "cell/TCellDrawnText.h"
#include "cell/TCellPdfMend.h"
#include "cell/TCellToUnicode.h"
#include "cell/view/TCellPreviewDialog.h"
#include "support/TempDir.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QPrinter>
#include <QRawFont>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace {

// The radicals and strokes Unicode lists with an equivalent ideograph, and
// that ideograph; the Basic Multilingual Plane only, all a PDF text map of
// Qt covers.
std::map<char16_t, char16_t> UnicodeRadicals() {
    QFile File(QStringLiteral("/usr/share/unicode/EquivalentUnifiedIdeograph.txt"));
    std::map<char16_t, char16_t> Result;
    if (!File.open(QIODevice::ReadOnly))
        return Result;
    for (const QByteArray& Line : File.readAll().split('\n')) {
        const QList<QByteArray> Fields = Line.split('#').first().split(';');
        const QList<QByteArray> Range = Fields.first().trimmed().split('.');
        const uint Ideograph = Fields.value(1).trimmed().toUInt(nullptr, 16);
        const uint First = Range.first().toUInt(nullptr, 16);
        const uint Last = Range.size() > 1 ? Range.last().toUInt(nullptr, 16) : First;
        for (uint Radical = First; Radical != 0 && Radical <= Last; ++Radical)
            if (Ideograph != 0 && Ideograph < 0x10000)
                Result[static_cast<char16_t>(Radical)] = static_cast<char16_t>(Ideograph);
    }
    return Result;
}

// Every ideograph that AFont draws with a listed radical's glyph.
QString GlyphTwins(const QFont& AFont, const std::map<char16_t, char16_t>& ARadicals) {
    const QRawFont Face = QRawFont::fromFont(AFont, QFontDatabase::SimplifiedChinese);
    QString Ideographs;
    for (uint Code = 0x3400; Code <= 0x9FFF; ++Code)
        if (Code <= 0x4DBF || Code >= 0x4E00)
            Ideographs += QChar(Code);
    const QList<quint32> Glyphs = Face.glyphIndexesForString(Ideographs);
    QString Result;
    for (const auto& [Radical, Unused] : ARadicals) {
        const quint32 Glyph = Face.glyphIndexesForString(QString(QChar(Radical))).value(0);
        for (qsizetype I = 0; Glyph != 0 && I < Glyphs.size(); ++I)
            if (Glyphs[I] == Glyph)
                Result += Ideographs[I];
    }
    return Result;
}

bool IsRadical(QChar AChar) {
    return (AChar >= QChar(0x2E80) && AChar <= QChar(0x2FDF)) ||
           (AChar >= QChar(0x31C0) && AChar <= QChar(0x31EF));
}

// The radicals of a text, sorted: a multiset to compare.
QString Radicals(const QString& AText) {
    QString Result;
    for (const QChar Char : AText)
        if (IsRadical(Char))
            Result += Char;
    std::sort(Result.begin(), Result.end());
    return Result;
}

class TextLayerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0); }

    // The template's fonts for the body (serif) and the heading (sans).
    std::vector<int> BodyAndHeadFonts() const {
        std::vector<int> Result;
        for (int Index = 0; Index < Grid.Sheet().FontCount(); ++Index)
            if (!Grid.Sheet().Font(Index).bold())
                Result.push_back(Index);
        return Result;
    }

    // Rows of the texts, ten cells a row in the columns that hold four
    // ideographs on one line, in font AFont and style AStyle.
    void Append(const QStringList& ATexts, int AFont, int AStyle) {
        static const int Columns[] = {2, 3, 7, 8, 9, 10, 11, 12, 13, 14};
        for (qsizetype I = 0; I < ATexts.size(); ++I) {
            if (I % 10 == 0)
                Grid.SetRowCount(Grid.GetRowCount(0) + 1, 0);
            const int Row = Grid.GetRowCount(0) - 1;
            const int Col = Columns[I % 10];
            Grid.PutText(Col, Row, 0, ATexts[I]);
            Grid.PutStyle(Col, Row, 0, AStyle);
            Grid.Document().Sheet().WritableCell(Col, Row)->Font = static_cast<std::int16_t>(AFont);
        }
        Printed += ATexts;
    }

    TCell5 Grid;
    TempDir Dir;
    QStringList Printed;
};

} // namespace

// Each ideograph that shares its glyph with a radical in one of the
// templates' fonts, in each of them, plain and bold; and a text that holds
// radicals beside their own ideographs.
TEST_F(TextLayerTest, IdeographsReadBackAsThemselvesAndRadicalsAsRadicals) {
    const auto Listed = UnicodeRadicals();
    ASSERT_GT(Listed.size(), 300u) << "unicode-data is missing";
    const QStringList Mixed{QStringLiteral("⼀一⼾户戶"), QStringLiteral("⻚页⾦金")};
    ASSERT_EQ(BodyAndHeadFonts().size(), 2u);
    for (const int Font : BodyAndHeadFonts()) {
        QString Twins;
        for (const auto& [Radical, Ideograph] : Listed)
            Twins += QChar(Ideograph);
        Twins += GlyphTwins(Grid.Sheet().Font(Font), Listed);
        QFont Bold = Grid.Sheet().Font(Font);
        Bold.setBold(true);
        Twins += GlyphTwins(Bold, Listed);
        std::sort(Twins.begin(), Twins.end());
        Twins.erase(std::unique(Twins.begin(), Twins.end()), Twins.end());
        QStringList Texts = Mixed;
        for (qsizetype I = 0; I < Twins.size(); I += 4)
            Texts << Twins.mid(I, 4);
        for (const int Style : {0, 1})
            Append(Texts, Font, Style);
    }
    const QString File = Dir.File(QStringLiteral("twins.pdf"));
    ASSERT_EQ(Grid.PrintToPdf(File), 0) << Grid.LastError().toStdString();
    const QString Text = PdfText(File);
    for (const QString& Cell : Printed)
        EXPECT_TRUE(Text.contains(Cell)) << Cell.toStdString();
    EXPECT_EQ(Radicals(Text), Radicals(Printed.join(QString())));
    EXPECT_TRUE(PdfTableIsExact(File));
}

// Codes with letters, and codes of up to fifteen digits in columns made for
// twelve, or far narrower: on one line on paper and in the text layer, the
// row one line high, and one line of ink on screen.
TEST_F(TextLayerTest, CodesStayWholeOnOneLine) {
    const QStringList Codes{QStringLiteral("101002002003"), QStringLiteral("101002002003004"),
                            QStringLiteral("2080505"), QStringLiteral("ZB2024010100001234")};
    Grid.SetRowCount(Grid.GetRowCount(0) + 1, 0);
    const int Row = Grid.GetRowCount(0) - 1;
    const int Columns[] = {2, 2, 4, 8};
    for (int I = 0; I < 4; ++I) {
        if (I == 1)
            Grid.SetRowCount(Row + 2, 0);
        Grid.PutText(Columns[I], Row + (I > 0 ? 1 : 0), 0, Codes[I]);
    }
    for (const int Line : {Row, Row + 1})
        EXPECT_EQ(Grid.FitRowHeight(Line), Grid.Sheet().DefaultRowHeight());
    const QString File = Dir.File(QStringLiteral("codes.pdf"));
    ASSERT_EQ(Grid.PrintToPdf(File), 0) << Grid.LastError().toStdString();
    const QString Text = PdfText(File);
    for (const QString& Code : Codes)
        EXPECT_TRUE(Text.contains(Code)) << Code.toStdString();

    // On screen, in a row three lines high: the ink is one band.
    Grid.PutRowHeight(1, 3 * Grid.Sheet().DefaultRowHeight(), Row + 1, 0);
    Grid.resize(1500, 600);
    const QImage Shot = Grid.viewport()->grab().toImage();
    for (const int Col : {2, 4, 8}) {
        const QRect Cell =
            Grid.Sheet().CellRect(Col, Row + 1).translated(8, 8).adjusted(2, 2, -2, -2);
        int Bands = 0;
        bool Inked = false;
        for (int Y = Cell.top(); Y <= Cell.bottom(); ++Y) {
            bool Ink = false;
            for (int X = Cell.left(); X <= Cell.right() && !Ink; ++X)
                Ink = qGray(Shot.pixel(X, Y)) < 128;
            Bands += Ink && !Inked ? 1 : 0;
            Inked = Ink;
        }
        EXPECT_EQ(Bands, 1) << "column " << Col;
    }
}

// Printed to a file after 打印 in the preview, the PDF is mended like any
// other and carries the document's properties.
TEST_F(TextLayerTest, PreviewPrintedToAFileReadsBackAsShown) {
    Grid.PutText(1, 1, 0, QStringLiteral("专户资金支付页"));
    Grid.SetPageText(QString(), QStringLiteral("共&S页第&P页"), QString());
    Grid.Document().SetPdfInfo(
        {QString(), QStringLiteral("部门（2024）(a)\\b"), QStringLiteral("测试")});
    const QString File = Dir.File(QStringLiteral("preview.pdf"));
    Grid.SetDialogRunner([](QDialog& ADialog) {
        ADialog.findChild<QAction*>(QStringLiteral("PrintAction"))->trigger();
        return ADialog.result();
    });
    ASSERT_EQ(Grid.PreviewSheet(0, 0), TCellPreviewDialog::PrintChosen);
    const std::unique_ptr<QPrinter> Printer = Grid.NewPrinter();
    Printer->setOutputFileName(File);
    ASSERT_EQ(Grid.PrintOn(*Printer), 0) << Grid.LastError().toStdString();
    const QString Text = PdfText(File);
    EXPECT_TRUE(Text.contains(QStringLiteral("专户资金支付页"))) << Text.toStdString();
    EXPECT_TRUE(Text.contains(QStringLiteral("共1页第1页")));
    EXPECT_EQ(PdfProperty(File, QStringLiteral("Title")), QStringLiteral("专户资金支付页"));
    EXPECT_EQ(PdfProperty(File, QStringLiteral("Subject")), QStringLiteral("部门（2024）(a)\\b"));
    EXPECT_EQ(PdfProperty(File, QStringLiteral("Creator")), QStringLiteral("测试"));
    EXPECT_TRUE(PdfTableIsExact(File));
}

// The text maps Qt writes: single entries, runs of consecutive characters,
// lists, a character made of two code units; read, and read again as
// written back.
TEST(PdfTextMap, ReadsEveryEntryFormAndWritesThemBack) {
    const QByteArray Map = "/CIDInit /ProcSet findresource begin\n"
                           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
                           "3 beginbfrange\n<0000> <0000> <0000>\n"
                           "<0001> <0003> [<2F40> <652F> <D840DC00> ]\n"
                           "<0010> <0019> <0030>\nendbfrange\n"
                           "1 beginbfchar\n<0020> <2EDA>\nendbfchar\nendcmap\nend\n";
    TCellToUnicode Text;
    ASSERT_TRUE(Text.Read(Map));
    const std::map<quint16, QString> Expected{
        {0x0000, QString(QChar(0))},    {0x0001, QStringLiteral("⽀")},
        {0x0002, QStringLiteral("支")}, {0x0003, QStringLiteral("𠀀")},
        {0x0010, QStringLiteral("0")},  {0x0015, QStringLiteral("5")},
        {0x0019, QStringLiteral("9")},  {0x0020, QStringLiteral("⻚")}};
    for (const auto& [Glyph, Characters] : Expected)
        EXPECT_EQ(Text.Entries()[Glyph], Characters) << Glyph;
    EXPECT_EQ(Text.Entries().size(), 15u);
    const QByteArray Written = Text.Written();
    EXPECT_TRUE(Written.startsWith("/CIDInit")) << Written.constData();
    EXPECT_TRUE(Written.endsWith("endcmap\nend\n")) << Written.constData();
    TCellToUnicode Again;
    ASSERT_TRUE(Again.Read(Written));
    EXPECT_EQ(Again.Entries(), Text.Entries());
    EXPECT_FALSE(TCellToUnicode().Read("1 beginbfchar\n<0001> 12\nendbfchar\n"));
}

// Each rule of reading a map on both of its sides: four hex digits a code
// (each digit range at both ends and one past them), whole code units for
// characters, a range that runs upwards up to the last code; and written
// back, at most 100 entries a section.
TEST(PdfTextMap, EveryBoundOfAnEntryAndOfASection) {
    // A section's body; the glyph read and its first code unit, or -1 when
    // the map must be refused.
    const std::tuple<const char*, bool, int, int> Cases[] = {
        {"<0000> <0030>", false, 0x0000, 0x30},
        {"<0009> <0030>", false, 0x0009, 0x30},
        {"<000/> <0030>", false, -1, -1},
        {"<000:> <0030>", false, -1, -1},
        {"<000A> <0030>", false, 0x000A, 0x30},
        {"<000F> <0030>", false, 0x000F, 0x30},
        {"<000@> <0030>", false, -1, -1},
        {"<000G> <0030>", false, -1, -1},
        {"<000a> <0030>", false, 0x000A, 0x30},
        {"<000f> <0030>", false, 0x000F, 0x30},
        {"<000`> <0030>", false, -1, -1},
        {"<000g> <0030>", false, -1, -1},
        {"<001> <0030>", false, -1, -1},
        {"<00001> <0030>", false, -1, -1},
        {"<0001> <>", false, -1, -1},
        {"<0001> <00300>", false, -1, -1},
        {"<0001> <003G>", false, -1, -1},
        {"<0001> <d840dc00>", false, 0x0001, 0xD840},
        {"<0004> <0004> <0030>", true, 0x0004, 0x30},
        {"<0005> <0004> <0030>", true, -1, -1},
        {"<FFFE> <FFFF> <0030>", true, 0xFFFF, 0x31},
        {"<0001> <0002> [<0030>]", true, -1, -1},
        {"<0001> <0002> [<0030> <0031>", true, -1, -1},
    };
    for (const auto& [Body, Ranges, Glyph, Unit] : Cases) {
        const QByteArray Kind = Ranges ? "bfrange" : "bfchar";
        TCellToUnicode Map;
        const bool Read =
            Map.Read("1 begin" + Kind + "\n" + QByteArray(Body) + "\nend" + Kind + "\n");
        EXPECT_EQ(Read, Glyph >= 0) << Body;
        if (Read && Glyph >= 0) {
            EXPECT_EQ(Map.Entries()[quint16(Glyph)].front().unicode(), Unit) << Body;
        }
    }
    for (const int Entries : {100, 101}) {
        TCellToUnicode Map;
        ASSERT_TRUE(Map.Read("1 beginbfchar\n<0000> <0030>\nendbfchar\n"));
        for (int Glyph = 1; Glyph < Entries; ++Glyph)
            Map.Entries()[quint16(Glyph)] = QStringLiteral("0");
        const QByteArray Written = Map.Written();
        EXPECT_EQ(Written.count("beginbfchar"), Entries == 100 ? 1 : 2) << Entries;
        EXPECT_TRUE(Written.startsWith("100 beginbfchar\n")) << Entries;
        TCellToUnicode Again;
        ASSERT_TRUE(Again.Read(Written));
        EXPECT_EQ(Again.Entries().size(), size_t(Entries));
    }
}

// A file that cannot be read whole is refused and left exactly as it was,
// on disk too, with the reason; one with nothing to mend is not rewritten.
TEST_F(TextLayerTest, TheMendLeavesWhatItDoesNotKnowAsItWas) {
    const QString File = Dir.File(QStringLiteral("plain.pdf"));
    Grid.PutText(1, 1, 0, QStringLiteral("2024"));
    ASSERT_EQ(Grid.PrintToPdf(File), 0);
    const QByteArray Pdf = ReadBytes(File);
    const qsizetype Table = Pdf.lastIndexOf("startxref");
    QByteArray Moved = Pdf;
    Moved.replace(Table, 9, "startxref\n1");
    const QByteArray Foreign[] = {QByteArray(), "%PDF-1.4 not much else", Pdf.left(Table), Moved};
    const TCellDrawnText Nothing;
    for (const QByteArray& Bytes : Foreign) {
        QByteArray Mended = Bytes;
        EXPECT_FALSE(TCellPdfMend(Nothing, QStringLiteral("主题")).Apply(Mended)) << Bytes.size();
        EXPECT_EQ(Mended, Bytes);
    }
    QByteArray Same = Pdf;
    EXPECT_TRUE(TCellPdfMend(Nothing, QString()).Apply(Same));
    EXPECT_EQ(Same, Pdf);
    WriteBytes(File, Moved);
    QString Error;
    EXPECT_FALSE(TCellPdfMend(Nothing, QStringLiteral("主题")).ApplyToFile(File, Error));
    EXPECT_TRUE(Error.startsWith(QStringLiteral("PDF 的结构有误，无法修正：")))
        << Error.toStdString();
    EXPECT_EQ(ReadBytes(File), Moved);
}
