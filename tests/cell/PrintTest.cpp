#include "support/CellFixture.h"

#include "cell/TCellPrinter.h"
#include "cell/view/TCellPreviewDialog.h"
#include "support/PdfStructure.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
        Grid.PutText(1, 1, 0, QStringLiteral("2024年市教育局公共财政预算资金范围划分明细建议表"));
        FillDetailRows(Grid, 60);
        Grid.FinishTable(7, 1, 0);
        Grid.SetPageText(QString(), QStringLiteral("共&S页第&P页"), QString());
    }

    // Pages the sheet takes on its own page set-up.
    int ExpectedPages() {
        QBuffer Sink;
        Sink.open(QIODevice::WriteOnly);
        QPdfWriter Writer(&Sink);
        Writer.setResolution(600);
        Writer.setPageLayout(Grid.Sheet().Page().Layout());
        return TCellPrinter(Grid.Sheet()).PageCount(Writer);
    }

    TCell5 Grid;
    TempDir Dir;
};

} // namespace

TEST_F(PrintTest, PdfCarriesHeadingAndPageLineOnEveryPage) {
    const QString File = Dir.File(QStringLiteral("明细表.pdf"));
    ASSERT_EQ(Grid.PrintToPdf(File), 0) << Grid.LastError().toStdString();
    const int Pages = PdfPageCount(File);
    ASSERT_GE(Pages, 2);
    EXPECT_EQ(Pages, ExpectedPages());
    const QString Text = PdfText(File);
    for (int Page = 1; Page <= Pages; ++Page)
        EXPECT_TRUE(Text.contains(QStringLiteral("共%1页第%2页").arg(Pages).arg(Page))) << Page;
    EXPECT_EQ(Text.count(QStringLiteral("指标编号")), Pages);
    EXPECT_EQ(Text.count(QStringLiteral("范围划分明细建议表")), Pages);
    // Every body row is printed once: the last unit code appears once.
    EXPECT_EQ(Text.count(QStringLiteral("001059")), 1);
    EXPECT_EQ(Text.count(QStringLiteral("001058")), 1);
    EXPECT_TRUE(
        RunTool(QStringLiteral("pdffonts"), {File}).contains(QStringLiteral("NotoSerifCJK")));
}

// A long table's PDF is made in two halves on two cores and joined; it reads
// back page for page as the one made in one piece.
TEST_F(PrintTest, ALongTableMadeInTwoHalvesIsTheSameTable) {
    FillDetailRows(Grid, 400);
    const QString Halves = Dir.File("halves.pdf"), Whole = Dir.File("whole.pdf");
    ASSERT_EQ(Grid.PrintToPdf(Halves), 0) << Grid.LastError().toStdString();
    Grid.Document().SetParallelPdf(false);
    ASSERT_EQ(Grid.PrintToPdf(Whole), 0) << Grid.LastError().toStdString();
    const int Pages = PdfPageCount(Whole);
    ASSERT_GE(Pages, 30);
    ASSERT_EQ(PdfPageCount(Halves), Pages);
    for (int Page = 1; Page <= Pages; ++Page)
        EXPECT_EQ(PdfText(Halves, Page), PdfText(Whole, Page)) << Page;
    EXPECT_EQ(RunTool("pdffonts", {Halves}).count("NotoSerifCJK"),
              2 * RunTool("pdffonts", {Whole}).count("NotoSerifCJK"));
}

TEST_F(PrintTest, PrintSheetWritesThePdfItWasAskedFor) {
    const QString File = Dir.File(QStringLiteral("batch.pdf"));
    Grid.SetPrintFile(File);
    EXPECT_EQ(Grid.PrintSheet(0, 0), 0);
    EXPECT_EQ(Grid.LastOutputFile(), File);
    EXPECT_EQ(PdfPageCount(File), ExpectedPages());
}

TEST_F(PrintTest, PrintSheetWithoutPrinterFallsBackToPdf) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed";
    QStandardPaths::setTestModeEnabled(true);
    EXPECT_EQ(Grid.PrintSheet(0, 0), 0) << Grid.LastError().toStdString();
    const QString Output = Grid.LastOutputFile();
    QStandardPaths::setTestModeEnabled(false);
    EXPECT_TRUE(Output.endsWith(QStringLiteral(".pdf")));
    EXPECT_TRUE(QFileInfo(Output).fileName().startsWith(QStringLiteral("2024年市教育局")));
    EXPECT_EQ(PdfPageCount(Output), ExpectedPages());
    QFile::remove(Output);
}

TEST_F(PrintTest, UnwritablePdfFailsWithoutLeavingAFile) {
    const QString File = Dir.File(QStringLiteral("missing-folder/out.pdf"));
    EXPECT_NE(Grid.PrintToPdf(File), 0);
    EXPECT_FALSE(Grid.LastError().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(File));
    EXPECT_TRUE(Grid.LastOutputFile().isEmpty());
}

TEST_F(PrintTest, PreviewShowsThePagesInTheDialog) {
    int PreviewPages = -1;
    QSizeF Paper;
    Grid.SetDialogRunner([&](QDialog& ADialog) {
        auto* Preview = qobject_cast<TCellPreviewDialog*>(&ADialog);
        if (Preview == nullptr)
            return -1;
        PreviewPages = Preview->Pages().Count();
        Paper = Preview->Pages().PageSize();
        return 1;
    });
    EXPECT_EQ(Grid.PreviewSheet(0, 0), 1);
    EXPECT_EQ(PreviewPages, ExpectedPages());
    EXPECT_GT(Paper.width(), Paper.height()) << "landscape";
}

TEST(CellSummaryPrint, NotesCloseTheLastPageTogetherWithTheLastRow) {
    TCell5 Grid;
    ASSERT_EQ(Grid.LoadTemplate(SummaryTemplate(), QString()), 0);
    Grid.PutText(1, 1, 0, QStringLiteral("2024年国库集中支付改革范围划分汇总建议表"));
    Grid.PutText(6, 2, 0, QStringLiteral("（按部门预算数核定）"));
    Grid.PutText(1, 2, 0, QStringLiteral("单位预算码：001"));
    Grid.PutText(2, 3, 0, QStringLiteral("2024年预算构成"));
    auto Append = [&] {
        Grid.SetRowCount(Grid.GetRowCount(0) + 1, 0);
        return Grid.GetRowCount(0) - 1;
    };
    for (int Index = 0; Index < 38; ++Index) {
        const int Row = Append();
        const bool Total = Index == 0 || Index % 10 == 1;
        if (Total)
            Grid.PutText(1, Row, 0,
                         Index == 0 ? QStringLiteral("市教育局单位合计")
                                    : QStringLiteral("公共财政预算合计"));
        else
            Grid.PutText(5, Row, 0, QStringLiteral("行政运行"));
        Grid.PutAlign(1, Row, 0, Index == 0 ? 36 : 33);
        Grid.PutAlign(6, Row, 0, 34);
        Grid.PutText(6, Row, 0, TCell::FormatNumber(1000.0 + Index));
        if (Index % 7 == 3) {
            Grid.JoinCells(7, Row, 8, Row);
            Grid.PutAlign(7, Row, 0, 36);
            Grid.PutText(7, Row, 0, QStringLiteral("暂按原渠道拨付"));
        }
        for (int Col = 1; Col <= 12; ++Col)
            Grid.PutStyle(Col, Row, 0, Total ? 2 : 0);
        Grid.PutRowHeight(1, Grid.FitRowHeight(Row), Row, 0);
    }
    const QString Notes[] = {
        QStringLiteral("1、填报时，按照项级科目汇总。"),
        QStringLiteral("2、公共财政预算、政府性基金、财政专户管理资金分基本支出和项目支出填写；"
                       "国有资本经营预算分资本性支出、费用性支出和其他支出填写。")};
    for (const QString& Note : Notes) {
        const int Row = Append();
        Grid.JoinCells(1, Row, 12, Row);
        Grid.PutText(1, Row, 0, Note);
        for (int Col = 1; Col <= 12; ++Col)
            for (int Edge = 0; Edge < 4; ++Edge)
                Grid.PutBorder(Col, Row, 0, Edge, 1);
    }
    Grid.FinishTable(7, 1, 0);
    Grid.MarkLastRows(Grid.GetRowCount(0) - 2, Grid.GetRowCount(0) - 1);
    Grid.SetPageText(QString(), QStringLiteral("共&S页第&P页"), QString());

    TempDir Dir;
    const QString Folder = qEnvironmentVariable("VARNHOLT_CELL_SHOTS");
    const QString File = QDir(Folder.isEmpty() ? Dir.Path() : Folder).filePath("summary.pdf");
    ASSERT_EQ(Grid.PrintToPdf(File), 0);
    const int Pages = PdfPageCount(File);
    ASSERT_GE(Pages, 2);
    const QString LastPage =
        RunTool(QStringLiteral("pdftotext"),
                {QStringLiteral("-raw"), QStringLiteral("-f"), QString::number(Pages),
                 QStringLiteral("-l"), QString::number(Pages), File, QStringLiteral("-")})
            .normalized(QString::NormalizationForm_KC);
    EXPECT_TRUE(LastPage.contains(QStringLiteral("1,037.00"))); // the last body row
    EXPECT_TRUE(LastPage.contains(QStringLiteral("按照项级科目汇总")));
}

// Texts at the sides of the page line that would run into it are cut short
// with an ellipsis and leave the page line whole; short ones stay whole.
TEST_F(PrintTest, TheFooterSidesGiveWayToThePageLine) {
    const QString Long = QStringLiteral("省地方金融监督管理局").repeated(12);
    const struct {
        QString Left, Right;
        bool Cut;
    } Cases[] = {{QStringLiteral("省教育厅　2024年预算数（当年预算）左"), QString(), false},
                 {Long + QStringLiteral("左"), QString(), true},
                 {QString(), QStringLiteral("右") + Long, true}};
    for (const auto& Case : Cases) {
        Grid.SetPageText(Case.Left, QStringLiteral("共&S页第&P页"), Case.Right);
        const QString File = Dir.File(QStringLiteral("页脚.pdf"));
        ASSERT_EQ(Grid.PrintToPdf(File), 0) << Grid.LastError().toStdString();
        EXPECT_EQ(PdfStructureFault(File).toStdString(), "");
        const QString Footer =
            RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-l"),
                                                  QStringLiteral("1"), File, QStringLiteral("-")})
                .trimmed()
                .section(QLatin1Char('\n'), -1);
        const std::string Shown = Footer.toStdString();
        EXPECT_TRUE(Footer.contains(QStringLiteral("共%1页第1页").arg(ExpectedPages()))) << Shown;
        EXPECT_EQ(Footer.contains(QChar(0x2026)), Case.Cut) << Shown;
        EXPECT_EQ(Footer.contains(QStringLiteral("左")) || Footer.contains(QStringLiteral("右")),
                  !Case.Cut)
            << Shown;
        const QRegularExpression Blank(QStringLiteral("\\s"),
                                       QRegularExpression::UseUnicodePropertiesOption);
        if (!Case.Cut) {
            EXPECT_TRUE(QString(Footer).remove(Blank).startsWith(QString(Case.Left).remove(Blank)))
                << Shown;
        }
    }
}
