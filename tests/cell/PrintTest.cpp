#include "CellFixture.h"

#include "cell/TCellPrinter.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
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
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    Grid.SetDialogRunner([&](QDialog& ADialog) {
        auto* Preview = ADialog.findChild<QPrintPreviewWidget*>();
        if (Preview == nullptr)
            return -1;
        Preview->updatePreview();
        PreviewPages = Preview->pageCount();
        Orientation = Preview->orientation();
        return 1;
    });
    EXPECT_EQ(Grid.PreviewSheet(0, 0), 1);
    EXPECT_EQ(PreviewPages, ExpectedPages());
    EXPECT_EQ(Orientation, QPageLayout::Landscape);
}
