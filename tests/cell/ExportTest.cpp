#include "support/CellFixture.h"

#include "cell/TCellDocument.h"
#include "cell/TCellXlsxWriter.h"
#include "support/TempDir.h"
#include "support/WorkbookCells.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

struct TXlsxCell {
    QString Type;  // "s" shared string, "" number
    QString Value; // as stored: string index or number
    int Style = 0;
};

// The parts of a written workbook the tests look at.
struct TWorkbook {
    QMap<QString, TXlsxCell> Cells;
    QStringList Merges;
    QStringList Strings;
    QString SheetXml;
    QString StylesXml;
    QString BookXml;

    QString Text(const QString& ARef) const {
        const TXlsxCell Cell = Cells.value(ARef);
        return Cell.Type == QStringLiteral("s") ? Strings.value(Cell.Value.toInt()) : Cell.Value;
    }
};

TWorkbook ReadWorkbook(const QString& AFile) {
    TWorkbook Book;
    Book.SheetXml = ZipMember(AFile, QStringLiteral("xl/worksheets/sheet1.xml"));
    Book.StylesXml = ZipMember(AFile, QStringLiteral("xl/styles.xml"));
    Book.BookXml = ZipMember(AFile, QStringLiteral("xl/workbook.xml"));
    QXmlStreamReader Sheet(Book.SheetXml);
    QString Ref;
    while (!Sheet.atEnd()) {
        Sheet.readNext();
        if (!Sheet.isStartElement())
            continue;
        const auto Attributes = Sheet.attributes();
        if (Sheet.name() == QStringLiteral("c")) {
            Ref = Attributes.value(QStringLiteral("r")).toString();
            Book.Cells[Ref] = {Attributes.value(QStringLiteral("t")).toString(), QString(),
                               Attributes.value(QStringLiteral("s")).toInt()};
        } else if (Sheet.name() == QStringLiteral("v") || Sheet.name() == QStringLiteral("t")) {
            Book.Cells[Ref].Value = Sheet.readElementText(); // a value or an inline string
        } else if (Sheet.name() == QStringLiteral("mergeCell")) {
            Book.Merges << Attributes.value(QStringLiteral("ref")).toString();
        }
    }
    QXmlStreamReader Strings(ZipMember(AFile, QStringLiteral("xl/sharedStrings.xml")));
    while (!Strings.atEnd())
        if (Strings.readNext() == QXmlStreamReader::StartElement &&
            Strings.name() == QStringLiteral("t"))
            Book.Strings << Strings.readElementText();
    return Book;
}

// The number format and boldness of cell style AIndex.
std::pair<QString, bool> StyleOf(const TWorkbook& ABook, int AIndex) {
    QXmlStreamReader Styles(ABook.StylesXml);
    QMap<int, QString> Formats{{4, QStringLiteral("#,##0.00")}};
    QList<bool> BoldFonts;
    bool InFont = false, InXfs = false;
    int Xf = 0;
    while (!Styles.atEnd()) {
        Styles.readNext();
        const auto Name = Styles.name();
        if (Styles.isEndElement() && Name == QStringLiteral("font"))
            InFont = false;
        if (Styles.isEndElement() && Name == QStringLiteral("cellXfs"))
            InXfs = false;
        if (!Styles.isStartElement())
            continue;
        const auto Attributes = Styles.attributes();
        if (Name == QStringLiteral("numFmt"))
            Formats[Attributes.value(QStringLiteral("numFmtId")).toInt()] =
                Attributes.value(QStringLiteral("formatCode")).toString();
        else if (Name == QStringLiteral("font")) {
            InFont = true;
            BoldFonts << false;
        } else if (Name == QStringLiteral("b") && InFont)
            BoldFonts.back() = true;
        else if (Name == QStringLiteral("cellXfs"))
            InXfs = true;
        else if (Name == QStringLiteral("xf") && InXfs && Xf++ == AIndex)
            return {Formats.value(Attributes.value(QStringLiteral("numFmtId")).toInt()),
                    BoldFonts.value(Attributes.value(QStringLiteral("fontId")).toInt())};
    }
    return {};
}

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Grid.LoadTemplate(SummaryTemplate(), QString()), 0);
        Grid.PutText(1, 1, 0, QStringLiteral("2024年国库集中支付改革范围划分汇总建议表"));
        Grid.PutText(2, 3, 0, QStringLiteral("2024年预算构成"));
        Row = Append();
        Grid.PutText(1, Row, 0, QStringLiteral("市教育局单位合计"));
        Grid.PutNumber(6, Row, 0, 1234.5);
        for (int Col = 1; Col <= 12; ++Col)
            Grid.PutStyle(Col, Row, 0, 2);
        const int Split = Append();
        Grid.PutText(5, Split, 0, QStringLiteral("行政运行"));
        Grid.PutNumber(6, Split, 0, -7.25);
        Grid.JoinCells(7, Split, 8, Split);
        Grid.PutAlign(7, Split, 0, 36);
        Grid.PutText(7, Split, 0, QStringLiteral("暂按原渠道拨付"));
        Grid.PutRowHeight(1, 40, Split, 0);
        Grid.FinishTable(7, 1, 0);
        Grid.SetPageText(QString(), QStringLiteral("共&S页第&P页"), QString());
    }

    int Append() {
        Grid.SetRowCount(Grid.GetRowCount(0) + 1, 0);
        return Grid.GetRowCount(0) - 1;
    }

    TCell5 Grid;
    TempDir Dir;
    int Row = 0;
};

} // namespace

TEST_F(ExportTest, WorkbookHoldsTheGridAsItIs) {
    const QString File = Dir.File(QStringLiteral("汇总表.xlsx"));
    ASSERT_EQ(Grid.ExportExcel(File), 0) << Grid.LastError().toStdString();
    const TWorkbook Book = ReadWorkbook(File);

    EXPECT_EQ(Book.Text(QStringLiteral("A1")),
              QStringLiteral("2024年国库集中支付改革范围划分汇总建议表"));
    EXPECT_EQ(Book.Text(QStringLiteral("F4")), QStringLiteral("预算数"));
    EXPECT_EQ(Book.Text(QStringLiteral("G9")), QStringLiteral("暂按原渠道拨付"));
    EXPECT_EQ(Book.Text(QStringLiteral("B3")), QStringLiteral("2024年预算构成"));
    EXPECT_EQ(Book.Text(QStringLiteral("E6")), QStringLiteral("科目名称"));
    // Numbers stay numbers, shown as #,##0.00; the total row is bold.
    EXPECT_EQ(Book.Cells.value(QStringLiteral("F8")).Type, QString());
    EXPECT_EQ(Book.Cells.value(QStringLiteral("F8")).Value, QStringLiteral("1234.5"));
    EXPECT_EQ(Book.Cells.value(QStringLiteral("F9")).Value, QStringLiteral("-7.25"));
    const auto [Format, Bold] = StyleOf(Book, Book.Cells.value(QStringLiteral("F8")).Style);
    EXPECT_EQ(Format, QStringLiteral("#,##0.00"));
    EXPECT_TRUE(Bold);
    EXPECT_FALSE(StyleOf(Book, Book.Cells.value(QStringLiteral("F9")).Style).second);

    // Each cell once: a workbook with a cell twice in a row is "repaired" by Excel.
    for (const char* Ref : {"r=\"G9\"", "r=\"H9\"", "r=\"F4\"", "r=\"F7\"", "r=\"A1\""})
        EXPECT_EQ(Book.SheetXml.count(QString::fromLatin1(Ref)), 1) << Ref;
    for (const char* Merge : {"A1:L1", "A3:A7", "B3:L3", "F4:F7", "G9:H9"})
        EXPECT_TRUE(Book.Merges.contains(QString::fromLatin1(Merge))) << Merge;
    // Print set-up: landscape, one page wide, heading repeated, page line.
    EXPECT_TRUE(Book.SheetXml.contains(QStringLiteral("orientation=\"landscape\"")));
    EXPECT_TRUE(Book.SheetXml.contains(QStringLiteral("fitToHeight=\"0\"")));
    EXPECT_TRUE(Book.SheetXml.contains(
        QStringLiteral("<oddFooter>&amp;C共&amp;N页第&amp;P页</oddFooter>")));
    EXPECT_TRUE(Book.BookXml.contains(QStringLiteral("Sheet1!$1:$7")));
    EXPECT_TRUE(Book.SheetXml.contains(QStringLiteral("<row r=\"9\"")));
    EXPECT_TRUE(Book.SheetXml.contains(QStringLiteral("ht=\"30\" customHeight=\"1\"")));
    EXPECT_TRUE(Book.StylesXml.contains(QStringLiteral("<left style=\"thin\">")));
}

TEST_F(ExportTest, FailedExportSaysWhyAndLeavesNoFile) {
    // A folder that does not exist.
    const QString Missing = Dir.File(QStringLiteral("no-such-folder/out.xlsx"));
    EXPECT_EQ(Grid.ExportExcel(Missing), TCellXlsxWriter::CannotCreate);
    EXPECT_FALSE(Grid.LastError().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Missing));

    // Content the workbook format cannot hold: the earlier file stays as it
    // was and nothing half-written is left beside it.
    const QString File = Dir.File(QStringLiteral("keep.xlsx"));
    ASSERT_EQ(Grid.ExportExcel(File), 0);
    const QByteArray Before = [&] {
        QFile Old(File);
        Old.open(QIODevice::ReadOnly);
        return Old.readAll();
    }();
    Grid.PutText(5, Row, 0, QString(40000, QLatin1Char('x')));
    EXPECT_EQ(Grid.ExportExcel(File), TCellXlsxWriter::Rejected);
    EXPECT_TRUE(Grid.LastError().contains(QStringLiteral("E8"))) << Grid.LastError().toStdString();
    QFile After(File);
    ASSERT_TRUE(After.open(QIODevice::ReadOnly));
    EXPECT_EQ(After.readAll(), Before);
    EXPECT_EQ(QDir(Dir.Path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.xlsx")});
}

TEST(XlsxFooter, PageCodesBecomeTheWorkbooksOwn) {
    const std::tuple<const char*, const char*, const char*, const char*> Cases[] = {
        {"", "共&S页第&P页", "", "&C共&N页第&P页"},
        {"R&D", "", "&p/&s", "&LR&&D&R&P/&N"},
        {"", "", "", ""},
    };
    for (const auto& [Left, Centre, Right, Expected] : Cases) {
        TCellPageSetup Setup;
        Setup.FooterLeft = QString::fromUtf8(Left);
        Setup.FooterCentre = QString::fromUtf8(Centre);
        Setup.FooterRight = QString::fromUtf8(Right);
        EXPECT_EQ(TCellXlsxWriter::FooterCodes(Setup), QString::fromUtf8(Expected));
    }
}

// A table longer than a worksheet keeps every row for printing, and the
// workbook is refused instead of ending at the sheet's last row; a number
// that is not finite never reaches a workbook.
TEST(ExportLimits, WhatAWorkbookCannotHoldIsRefusedNotCut) {
    TempDir Dir;
    TCellDocument Long;
    Long.SetRowCount(TCellXlsxWriter::WorksheetRows + 3, 0);
    const int Last = Long.GetRowCount(0) - 1;
    Long.PutText(1, Last, 0, "最后一行");
    Long.PutText(1, Last - 1, 0, "倒数第二行");
    EXPECT_EQ(Long.CellText(1, Last), "最后一行");
    EXPECT_EQ(Long.CellText(1, Last - 1), "倒数第二行");
    EXPECT_NE(Long.ExportExcel(Dir.File("long.xlsx")), 0);
    EXPECT_TRUE(Long.LastError().contains("1048576")) << Long.LastError().toStdString();

    for (const double Amount : {qInf(), -qInf(), qQNaN()}) {
        TCellDocument Grid;
        Grid.SetRowCount(3, 0);
        Grid.PutNumber(2, 2, 0, Amount);
        EXPECT_NE(Grid.ExportExcel(Dir.File("amount.xlsx")), 0);
        EXPECT_TRUE(Grid.LastError().contains("B2")) << Grid.LastError().toStdString();
    }
    EXPECT_TRUE(QDir(Dir.Path()).entryList(QDir::Files).isEmpty());
}

// A table of exactly the limit's rows is written whole, its last row read
// back; one row more is refused with both counts, and no file is left.
TEST(ExportLimits, ATableOfTheLimitsRowsIsWrittenOneMoreIsRefused) {
    constexpr int Limit = 40;
    TempDir Dir;
    for (const int Rows : {Limit, Limit + 1}) {
        TCellDocument Grid;
        Grid.SetRowCount(Rows + 1, 0);
        Grid.PutText(1, Rows, 0, "最后一行");
        const QString File = Dir.File(QStringLiteral("%1.xlsx").arg(Rows));
        TCellXlsxWriter Writer(Grid.Sheet(), Limit);
        const bool Fits = Rows <= Limit;
        EXPECT_EQ(Writer.Write(File), Fits ? TCellXlsxWriter::Ok : TCellXlsxWriter::Rejected);
        EXPECT_EQ(QFileInfo::exists(File), Fits) << Rows;
        if (Fits) {
            EXPECT_EQ(ReadWorkbookCells(File).value({1, Rows}).toString(), "最后一行");
        } else {
            EXPECT_TRUE(Writer.Error().contains("41 行") && Writer.Error().contains("40 行"))
                << Writer.Error().toStdString();
        }
    }
}

// The same at a worksheet's real limit: outside the default run, as it
// takes about 3 s and 250 MB. Run it with
//   cell_tests --gtest_also_run_disabled_tests --gtest_filter='ExportLimits.DISABLED_*'
TEST(ExportLimits, DISABLED_ATableOfAWorksheetsRowsIsWrittenToTheLastRow) {
    constexpr int Rows = TCellXlsxWriter::WorksheetRows;
    TempDir Dir;
    TCellDocument Grid;
    Grid.SetRowCount(Rows + 1, 0);
    Grid.PutText(1, Rows, 0, "最后一行");
    ASSERT_EQ(Grid.ExportExcel(Dir.File("full.xlsx")), 0) << Grid.LastError().toStdString();
    const QString Sheet = ZipMember(Dir.File("full.xlsx"), "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(Sheet.contains(QStringLiteral("<row r=\"%1\"").arg(Rows)));
    EXPECT_TRUE(Sheet.contains("最后一行"));
    Grid.SetRowCount(Rows + 2, 0);
    EXPECT_NE(Grid.ExportExcel(Dir.File("over.xlsx")), 0);
}
