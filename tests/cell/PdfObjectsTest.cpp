// The object table the text-map mend and the join stand on, on a PDF made
// by hand in the layout Qt's writer uses: each rule of reading the table
// and of editing objects, on both of its sides.
#include "support/CellFixture.h"

#include "cell/TCellDrawnText.h"
#include "cell/TCellGlyphShare.h"
#include "cell/TCellPdfMend.h"
#include "cell/TCellPdfObjects.h"
#include "support/PdfStructure.h"
#include "support/TempDir.h"

#include <QFontDatabase>
#include <QRawFont>
#include <gtest/gtest.h>

namespace {

const QByteArray TextMap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
                           "2 beginbfchar\n<0001> <2F40>\n<0002> <D840DC00>\nendbfchar\n"
                           "endcmap\nend\nend";

struct TParts {
    QByteArray Info = "<<\n/Title (t)\n>>";
    QByteArray FontName = "NotoSansCJKsc-Regular";
    QByteArray MapKeys; // more keys of the text map's dictionary
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
        "<< /Length " + QByteArray::number(TextMap.size() + AParts.LengthError) + AParts.MapKeys +
            " >>\nstream\n" + TextMap + "\nendstream",
    };
    QByteArray Pdf = "%PDF-1.4\n";
    std::vector<qsizetype> Offsets{-1};
    for (const QByteArray& Body : Bodies) {
        Offsets.push_back(Pdf.size());
        Pdf += QByteArray::number(qsizetype(Offsets.size() - 1)) + " 0 obj\n" + Body + "\nendobj\n";
    }
    const qsizetype Table = Pdf.size();
    return Pdf + TCellPdfObjects::CrossReference(Offsets) +
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

} // namespace

TEST(PdfObjects, TheTableIsReadOnlyWhenItIsWhole) {
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
        {"a free entry", Replaced(Pdf, Object6 + " 00000 n", Object6 + " 00000 f"), true},
        {"an entry just before the table",
         Replaced(Pdf, Object6 + " 00000 n", JustBefore + " 00000 n"), true},
        {"an entry at the table", Replaced(Pdf, Object6 + " 00000 n", AtTable + " 00000 n"), false},
        {"no trailer", Replaced(Pdf, "trailer", "trailex"), false},
    };
    for (const auto& [Name, Bytes, Valid] : Cases)
        EXPECT_EQ(TCellPdfObjects(Bytes).IsValid(), Valid) << Name;

    const TCellPdfObjects Objects(Replaced(Pdf, Object6 + " 00000 n", JustBefore + " 00000 n"));
    EXPECT_TRUE(Objects.Object(6).isEmpty()); // no "6 0 obj" there
    EXPECT_TRUE(Objects.Object(5).startsWith("5 0 obj"));
    EXPECT_TRUE(Objects.Object(5).endsWith("endobj"));
    EXPECT_EQ(Objects.Object(7), QByteArrayView());
    EXPECT_EQ(Objects.TrailerReference("/Root"), 2);
    EXPECT_EQ(TCellPdfObjects(Replaced(Pdf, "/Root 2", "/Root 7")).TrailerReference("/Root"), -1);
    EXPECT_EQ(TCellPdfObjects::Number("/Length2 5 /Length 12", "/Length"), 12);
    EXPECT_EQ(TCellPdfObjects::Number("/Length2 5", "/Length"), -1);
}

// Edits that touch, overlap or reach outside the objects; then a file
// edited before, at and inside objects keeps every offset exact.
TEST(PdfObjects, EditsKeepEveryObjectWhereTheTableSaysItIs) {
    const QByteArray Pdf = HandMadePdf({});
    const qsizetype Table = Pdf.lastIndexOf("xref\n0");
    // In order, each rule on both of its sides.
    const std::tuple<const char*, qsizetype, qsizetype, bool> Edits[] = {
        {"a first edit", 100, 120, true},
        {"touching its end", 120, 130, true},
        {"touching its start", 90, 100, true},
        {"overlapping an edit", 119, 125, false},
        {"overlapping two edits", 95, 101, false},
        {"inserting at an edit's end", 130, 130, true},
        {"inserting", 140, 140, true},
        {"inserting again there", 140, 140, false},
        {"replacing from there", 140, 145, false},
        {"inserting inside an edit", 110, 110, false},
        {"up to the table", Table - 1, Table, true},
        {"into the table", Table, Table + 1, false},
        {"at the file's start", 0, 0, true},
        {"before the file", -1, -1, false},
        {"reversed", 60, 50, false},
    };
    TCellPdfObjects Rules(Pdf);
    for (const auto& [Name, Start, End, Taken] : Edits)
        EXPECT_EQ(Rules.Replace(Start, End, "x"), Taken) << Name;

    TCellPdfObjects Objects(Pdf);
    const auto At = [&](int ANumber) {
        return Objects.Offset(ANumber);
    };
    const qsizetype Title = Pdf.indexOf("/Title");
    ASSERT_TRUE(Objects.Replace(Title, Title + 10, "/Title (a longer title)"));
    ASSERT_TRUE(Objects.Replace(At(3), At(3), "% a comment before object 3\n"));
    ASSERT_TRUE(
        Objects.Replace(At(4), At(5), "4 0 obj\n<<\n/Type /Page\n/Parent 3 0 R\n>>\nendobj\n"));
    const QByteArray Result = Objects.Result();
    const TCellPdfObjects Again(Result);
    ASSERT_TRUE(Again.IsValid());
    for (int Number = 1; Number < 7; ++Number)
        EXPECT_TRUE(Again.Object(Number).startsWith(QByteArray::number(Number) + " 0 obj"))
            << Number;
    TempDir Dir;
    WriteBytes(Dir.File("edited.pdf"), Result);
    EXPECT_EQ(PdfStructureFault(Dir.File("edited.pdf")), QString());
}

// The text map is rewritten where the page drew another character of the
// glyph than the map names, and the subject added where there is none;
// everything else is left as it was, byte for byte.
TEST(PdfObjects, TheMendChangesOnlyWhatItMustAndKeepsTheFileSound) {
    const TCellGlyphShare& Face = SansFace();
    ASSERT_EQ(Face.PostScriptName(), "NotoSansCJKsc-Regular");
    TCellDrawnText Drawn;
    Drawn.Note(Face, u'支');
    TempDir Dir;
    const QString File = Dir.File("mended.pdf");
    QByteArray Pdf = HandMadePdf({});
    ASSERT_TRUE(TCellPdfMend(Drawn, QStringLiteral("主题")).Apply(Pdf));
    WriteBytes(File, Pdf);
    EXPECT_EQ(PdfStructureFault(File), QString());
    EXPECT_EQ(PdfProperty(File, "Subject"), QStringLiteral("主题"));
    const TCellPdfObjects Mended(Pdf);
    const QByteArray Map = Mended.Object(6).toByteArray();
    EXPECT_TRUE(Map.contains("<0001> <652F>") && Map.contains("<0002> <D840DC00>"))
        << Map.constData();

    TParts Compressed, Another, Subject, Long, Short;
    Compressed.MapKeys = " /Filter /FlateDecode";
    Another.FontName = Subject.FontName = "NotoSerifCJKsc-Regular";
    Subject.Info = "<<\n/Subject (s)\n>>";
    Long.LengthError = 2; // into "endstream"
    Short.LengthError = -1;
    for (const TParts& Parts : {Compressed, Another, Subject, Long, Short}) {
        const QByteArray Kept = HandMadePdf(Parts);
        QByteArray Same = Kept;
        const QString Text = Parts.Info.contains("/Subject") ? "主题" : QString();
        EXPECT_TRUE(TCellPdfMend(Drawn, Text).Apply(Same));
        EXPECT_TRUE(Same == Kept) << Parts.FontName.constData() << Parts.MapKeys.constData()
                                  << Parts.LengthError;
    }
}
