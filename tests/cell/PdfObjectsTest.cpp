// The text-map mend and the PDF file it works on, on a PDF made by hand in
// the layout Qt's writer uses: a file read only when whole, the mend's
// rules on both of their sides, and what is written back.
#include "support/CellFixture.h"

#include "cell/TCellDrawnText.h"
#include "cell/TCellGlyphShare.h"
#include "cell/TCellPdfMend.h"
#include "support/PdfStructure.h"
#include "support/TempDir.h"

#include <QFontDatabase>
#include <QRawFont>
#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>

namespace {

const QByteArray TextMap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
                           "2 beginbfchar\n<0001> <2F40>\n<0002> <D840DC00>\nendbfchar\n"
                           "endcmap\nend\nend";

struct TParts {
    QByteArray Info = "<<\n/Title (t)\n>>";
    QByteArray FontName = "NotoSansCJKsc-Regular";
    QByteArray MapKeys; // more keys of the text map's dictionary
    QByteArray Map = TextMap;
    int LengthError = 0;
};

// Objects 1 information, 2 catalog, 3 page tree, 4 page, 5 font, 6 its
// text map; one cross-reference table.
QByteArray HandMadePdf(const TParts& AParts) {
    const QByteArray Bodies[] = {
        AParts.Info,
        "<<\n/Type /Catalog\n/Pages 3 0 R\n>>",
        "<<\n/Type /Pages\n/Kids [4 0 R]\n/Count 1\n>>",
        "<<\n/Type /Page\n/Parent 3 0 R\n/MediaBox [0 0 200 200]\n"
        "/Resources << /Font << /F1 5 0 R >> >>\n>>",
        "<<\n/Type /Font\n/Subtype /Type0\n/BaseFont /" + AParts.FontName +
            "\n/Encoding /Identity-H\n/ToUnicode 6 0 R\n>>",
        "<< /Length " + QByteArray::number(AParts.Map.size() + AParts.LengthError) +
            AParts.MapKeys + " >>\nstream\n" + AParts.Map + "\nendstream",
    };
    QByteArray Pdf = "%PDF-1.4\n";
    std::vector<qsizetype> Offsets{-1};
    for (const QByteArray& Body : Bodies) {
        Offsets.push_back(Pdf.size());
        Pdf += QByteArray::number(qsizetype(Offsets.size() - 1)) + " 0 obj\n" + Body + "\nendobj\n";
    }
    const qsizetype Table = Pdf.size();
    return Pdf + PdfCrossReference(Offsets) +
           "trailer\n<<\n/Size 7\n/Info 1 0 R\n/Root 2 0 R\n>>\nstartxref\n" +
           QByteArray::number(Table) + "\n%%EOF\n";
}

QByteArray Replaced(QByteArray APdf, const QByteArray& AFind, const QByteArray& AText) {
    const qsizetype At = APdf.lastIndexOf(AFind);
    EXPECT_GE(At, 0) << AFind.constData();
    return APdf.replace(At, AFind.size(), AText);
}

const TCellGlyphShare& SansFace() {
    return TCellGlyphShare::Of(QRawFont::fromFont(QFont(QStringLiteral("Noto Sans CJK SC")),
                                                  QFontDatabase::SimplifiedChinese));
}

// The text map of the file's font, as written there (decoded).
QByteArray FontTextMap(const QByteArray& APdf) {
    QPDF Pdf;
    Pdf.processMemoryFile("PDF", APdf.constData(), size_t(APdf.size()));
    for (QPDFObjectHandle& Object : Pdf.getAllObjects())
        if (Object.isDictionaryOfType("/Font")) {
            const auto Data = Object.getKey("/ToUnicode").getStreamData();
            return QByteArray(reinterpret_cast<const char*>(Data->getBuffer()),
                              qsizetype(Data->getSize()));
        }
    return {};
}

} // namespace

// A file that qpdf could read only by repairing it, or not at all, cannot
// be mended: the mend says why, in Chinese, and leaves the bytes alone.
TEST(PdfObjects, AFileIsMendedOnlyWhenItIsWhole) {
    const QByteArray Pdf = HandMadePdf({});
    const QByteArray Table = QByteArray::number(Pdf.lastIndexOf("xref\n0"));
    const QByteArray JustBefore = QByteArray::number(Table.toInt() - 1).rightJustified(10, '0');
    const QByteArray AtTable = Table.rightJustified(10, '0');
    const QByteArray Object6 = QByteArray::number(Pdf.indexOf("6 0 obj")).rightJustified(10, '0');
    const std::tuple<const char*, QByteArray, bool> Cases[] = {
        {"as made", Pdf, true},
        {"no startxref", Replaced(Pdf, "startxref", "startxrex"), false},
        {"startxref a byte late",
         Replaced(Pdf, "\n" + Table + "\n%%EOF",
                  "\n" + QByteArray::number(Table.toInt() + 1) + "\n%%EOF"),
         false},
        {"startxref at itself",
         Replaced(Pdf, "\n" + Table + "\n%%EOF",
                  "\n" + QByteArray::number(Pdf.lastIndexOf("startxref")) + "\n%%EOF"),
         false},
        {"a table from object 1", Replaced(Pdf, "xref\n0 7", "xref\n1 7"), false},
        {"an empty table", Replaced(Pdf, "xref\n0 7", "xref\n0 0"), false},
        {"an entry of an unknown kind", Replaced(Pdf, Object6 + " 00000 n", Object6 + " 00000 x"),
         false},
        // The map gone: the font has none to mend.
        {"a free entry", Replaced(Pdf, Object6 + " 00000 n", Object6 + " 00000 f"), true},
        {"an entry just before the table",
         Replaced(Pdf, Object6 + " 00000 n", JustBefore + " 00000 n"), false},
        {"an entry at the table", Replaced(Pdf, Object6 + " 00000 n", AtTable + " 00000 n"), false},
        {"no trailer", Replaced(Pdf, "trailer", "trailex"), false},
        {"nothing", QByteArray(), false},
    };
    TCellDrawnText Drawn;
    Drawn.Note(SansFace(), u'支');
    for (const auto& [Name, Bytes, Whole] : Cases) {
        QByteArray Mended = Bytes;
        QString Error;
        EXPECT_EQ(TCellPdfMend(Drawn, QStringLiteral("主题")).Apply(Mended, &Error), Whole) << Name;
        EXPECT_EQ(Error.startsWith(QStringLiteral("PDF 的结构有误，无法修正：")), !Whole)
            << Name << ": " << Error.toStdString();
        EXPECT_EQ(Mended == Bytes, !Whole) << Name;
    }
}

// The text map is rewritten where the page drew another character of the
// glyph than the map names, and the subject added where there is none; a
// file with nothing to change is left as it was, byte for byte, and one
// whose map cannot be read is not passed as mended.
TEST(PdfObjects, TheMendChangesOnlyWhatItMustAndKeepsTheFileSound) {
    TCellDrawnText Drawn;
    Drawn.Note(SansFace(), u'支');
    ASSERT_EQ(SansFace().PostScriptName(), "NotoSansCJKsc-Regular");
    TParts Compressed, Another, Subject, Long, Short, Unread;
    Compressed.MapKeys = " /Filter /FlateDecode";
    Compressed.Map = qCompress(TextMap).mid(4); // a zlib stream
    Another.FontName = Subject.FontName = "NotoSerifCJKsc-Regular";
    Subject.Info = "<<\n/Subject (s)\n>>";
    Long.LengthError = 2; // into "endstream"
    Short.LengthError = -1;
    Unread.Map = Replaced(TextMap, "<2F40>", "<2F4>");
    TParts Plain;
    Plain.MapKeys = " /Filter /FlateDecode";
    enum TOutcome { Mended, Kept, Refused };
    const QString Given = QStringLiteral("主题");
    const std::tuple<const char*, TParts, QString, TOutcome> Cases[] = {
        {"as Qt writes it", {}, Given, Mended},
        {"a compressed map", Compressed, Given, Mended},
        {"another font", Another, QString(), Kept},
        {"another font, a subject there", Subject, Given, Kept},
        {"a length too long", Long, Given, Refused},
        {"a length too short", Short, Given, Refused},
        {"a map not read", Unread, Given, Refused},
        {"declared compressed, written plain", Plain, Given, Refused},
    };
    TempDir Dir;
    const QString File = Dir.File("mended.pdf");
    for (const auto& [Name, Parts, Text, Outcome] : Cases) {
        const QByteArray Made = HandMadePdf(Parts);
        QByteArray Pdf = Made;
        EXPECT_EQ(TCellPdfMend(Drawn, Text).Apply(Pdf), Outcome != Refused) << Name;
        EXPECT_EQ(Pdf == Made, Outcome != Mended) << Name;
        if (Outcome != Mended)
            continue;
        WriteBytes(File, Pdf);
        EXPECT_EQ(PdfStructureFault(File), QString()) << Name;
        EXPECT_EQ(PdfProperty(File, "Subject"), QStringLiteral("主题")) << Name;
        const QByteArray Map = FontTextMap(Pdf);
        EXPECT_TRUE(Map.contains("<0001> <652F>") && Map.contains("<0002> <D840DC00>"))
            << Name << Map.constData();
    }
}

// A printed file: object streams and a cross-reference stream, every
// object where that says, and smaller than the same objects written
// without object streams.
TEST(PdfObjects, APrintedFileIsCompactAndSound) {
    TCell5 Grid;
    ASSERT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
    FillDetailRows(Grid, 60);
    TempDir Dir;
    const QString File = Dir.File("printed.pdf"), Plain = Dir.File("plain.pdf");
    ASSERT_EQ(Grid.PrintToPdf(File), 0) << Grid.LastError().toStdString();
    const QByteArray Pdf = ReadBytes(File);
    EXPECT_TRUE(Pdf.contains("/ObjStm") && Pdf.contains("/XRef")) << Pdf.size();
    EXPECT_TRUE(PdfTableIsExact(File));
    RunTool("qpdf", {"--object-streams=disable", File, Plain});
    ASSERT_FALSE(ReadBytes(Plain).contains("/ObjStm"));
    EXPECT_LT(Pdf.size(), ReadBytes(Plain).size());
}
