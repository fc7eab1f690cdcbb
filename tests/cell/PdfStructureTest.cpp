// The structure check every test's PDF passes through (tests/support), on
// a printed PDF edited by hand: the PDF as printed passes; a table qpdf's
// check finds wrong fails it (as every fault that check finds does), and so
// does each fault only the look at the objects finds.
#include "support/CellFixture.h"

#include "cell/TCellPdfObjects.h"
#include "support/PdfStructure.h"
#include "support/TempDir.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

using TOffsets = std::vector<qsizetype>;

TOffsets OffsetsOf(const QByteArray& APdf) {
    const TCellPdfObjects Objects(APdf);
    TOffsets Offsets{-1};
    for (int Number = 1; Number < Objects.Count(); ++Number)
        Offsets.push_back(Objects.Offset(Number));
    return Offsets;
}

// The file with another cross-reference table, its trailer kept.
QByteArray WithTable(const QByteArray& APdf, const TOffsets& AOffsets) {
    const qsizetype Table = APdf.lastIndexOf("\nxref\n") + 1;
    const qsizetype Trailer = APdf.lastIndexOf("trailer");
    const qsizetype Start = APdf.lastIndexOf("startxref");
    return APdf.first(Table) + TCellPdfObjects::CrossReference(AOffsets) +
           APdf.mid(Trailer, Start - Trailer) + "startxref\n" + QByteArray::number(Table) +
           "\n%%EOF\n";
}

// The file with AFind (looked for from object ANumber on) replaced by
// AText; the table follows, so that only the edit itself is wrong.
QByteArray Edited(const QByteArray& APdf, int ANumber, const QByteArray& AFind,
                  const QByteArray& AText) {
    TCellPdfObjects Objects(APdf);
    const qsizetype At = APdf.indexOf(AFind, Objects.Offset(ANumber));
    EXPECT_TRUE(At >= 0 && Objects.Replace(At, At + AFind.size(), AText)) << AFind.constData();
    return Objects.Result();
}

} // namespace

// Among them the join's old fault: each object's offset written after the
// object instead of before it. Poppler reads every one of these files.
TEST(PdfStructure, EveryFaultAReaderWouldRepairIsFound) {
    TCell5 Grid;
    ASSERT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
    FillDetailRows(Grid, 60);
    TempDir Dir;
    const QString File = Dir.File("printed.pdf");
    ASSERT_EQ(Grid.PrintToPdf(File), 0) << Grid.LastError().toStdString();
    const QByteArray Pdf = ReadBytes(File);
    const TCellPdfObjects Objects(Pdf);
    ASSERT_TRUE(Objects.IsValid());
    const int Root = Objects.TrailerReference("/Root");
    const int Pages = int(TCellPdfObjects::Number(Objects.Object(Root, true), "/Pages"));
    const QByteArrayView Tree = Objects.Object(Pages);
    const qsizetype KidsAt = Tree.indexOf('[') + 1;
    const QByteArray Kids = Tree.sliced(KidsAt).trimmed().toByteArray();
    const QByteArray FirstKid = Kids.first(Kids.indexOf('R') + 1);
    const QByteArray Parent = "/Parent " + QByteArray::number(Pages) + " 0 R";

    const std::pair<const char*, std::function<QByteArray()>> Faults[] = {
        {"offsets after their objects",
         [&] {
             TOffsets Ends = OffsetsOf(Pdf);
             TOffsets Sorted = Ends;
             std::sort(Sorted.begin(), Sorted.end());
             const qsizetype Table = Pdf.lastIndexOf("\nxref\n") + 1;
             for (qsizetype& Offset : Ends) {
                 const auto Next = std::upper_bound(Sorted.begin(), Sorted.end(), Offset);
                 Offset = Offset < 0 ? -1 : Next == Sorted.end() ? Table : *Next;
             }
             return WithTable(Pdf, Ends);
         }},
        {"the document information freed in the table",
         [&] {
             TOffsets Offsets = OffsetsOf(Pdf);
             Offsets[size_t(Objects.TrailerReference("/Info"))] = -1;
             return WithTable(Pdf, Offsets);
         }},
        {"a page left out of the tree",
         [&] {
             return Edited(Pdf, Pages, FirstKid, "");
         }},
        {"a page naming another parent",
         [&] {
             return Edited(Pdf, FirstKid.split(' ')[0].toInt(), Parent,
                           "/Parent " + QByteArray::number(Root) + " 0 R");
         }},
    };
    EXPECT_EQ(PdfStructureFault(File), QString());
    for (const auto& [Name, Make] : Faults) {
        WriteBytes(File, Make());
        EXPECT_FALSE(PdfStructureFault(File).isEmpty()) << Name;
        EXPECT_GT(RunTool("pdftotext", {File, "-"}).size(), 100) << Name;
    }
}
