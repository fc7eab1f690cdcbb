// The structure check every test's PDF passes through (tests/support), on
// a printed PDF edited by hand: the PDF as printed passes; a table qpdf's
// check finds wrong fails it (as every fault that check finds does), and so
// does each fault only the look at the objects finds.
#include "support/CellFixture.h"

#include "support/PdfStructure.h"
#include "support/TempDir.h"

#include <QProcess>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>

namespace {

using TOffsets = std::vector<qsizetype>;

// The file with another cross-reference table, its trailer kept.
QByteArray WithTable(const QByteArray& APdf, const TOffsets& AOffsets) {
    const qsizetype Table = APdf.lastIndexOf("\nxref\n") + 1;
    const qsizetype Trailer = APdf.lastIndexOf("trailer");
    const qsizetype Start = APdf.lastIndexOf("startxref");
    return APdf.first(Table) + PdfCrossReference(AOffsets) + APdf.mid(Trailer, Start - Trailer) +
           "startxref\n" + QByteArray::number(Table) + "\n%%EOF\n";
}

// A file laid out for editing by hand (qpdf's QDF form) with AFind, looked
// for from object ANumber on, replaced by AText; offsets and lengths are
// then set right again, so that only the edit itself is wrong.
QByteArray Edited(const QByteArray& APdf, int ANumber, const QByteArray& AFind,
                  const QByteArray& AText) {
    const qsizetype At = APdf.indexOf(AFind, PdfObjectOffsets(APdf).at(size_t(ANumber)));
    EXPECT_GE(At, 0) << AFind.constData();
    TempDir Dir;
    WriteBytes(Dir.File("edited.pdf"), QByteArray(APdf).replace(At, AFind.size(), AText));
    QProcess Fix; // writes the file set right to its output
    Fix.setStandardOutputFile(Dir.File("fixed.pdf"));
    Fix.start("fix-qdf", {Dir.File("edited.pdf")});
    EXPECT_TRUE(Fix.waitForFinished(60000) && Fix.exitCode() == 0);
    return ReadBytes(Dir.File("fixed.pdf"));
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
    EXPECT_EQ(PdfStructureFault(File), QString());
    RunTool("qpdf", {"--qdf", "--object-streams=disable", File, Dir.File("qdf.pdf")});
    const QByteArray Pdf = ReadBytes(Dir.File("qdf.pdf"));
    const TOffsets Offsets = PdfObjectOffsets(Pdf);
    ASSERT_FALSE(Offsets.empty());
    QPDF Objects;
    Objects.processMemoryFile("QDF", Pdf.constData(), size_t(Pdf.size()));
    const int Root = Objects.getRoot().getObjectID();
    const int Pages = Objects.getRoot().getKey("/Pages").getObjectID();
    const int Info = Objects.getTrailer().getKey("/Info").getObjectID();
    const int FirstPage = Objects.getAllPages().front().getObjectID();
    const QByteArray FirstKid = QByteArray::number(FirstPage) + " 0 R";
    const QByteArray Parent = "/Parent " + QByteArray::number(Pages) + " 0 R";

    const std::pair<const char*, std::function<QByteArray()>> Faults[] = {
        {"offsets after their objects",
         [&] {
             TOffsets Ends = Offsets;
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
             TOffsets Freed = Offsets;
             Freed[size_t(Info)] = -1;
             return WithTable(Pdf, Freed);
         }},
        {"a page left out of the tree",
         [&] {
             return Edited(Pdf, Pages, FirstKid, "");
         }},
        {"a page naming another parent",
         [&] {
             return Edited(Pdf, FirstPage, Parent, "/Parent " + QByteArray::number(Root) + " 0 R");
         }},
    };
    EXPECT_EQ(PdfStructureFault(File), QString());
    for (const auto& [Name, Make] : Faults) {
        WriteBytes(File, Make());
        EXPECT_FALSE(PdfStructureFault(File).isEmpty()) << Name;
        EXPECT_GT(RunTool("pdftotext", {File, "-"}).size(), 100) << Name;
    }
}
