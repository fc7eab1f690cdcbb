// The print preview: its place on the screen, pages drawn only when looked
// at and where a PDF breaks them; printing a range of pages and copies.
#include "support/CellFixture.h"

#include "cell/TCellPrinter.h"
#include "cell/view/TCellPreviewDialog.h"
#include "cell/view/TCellPreviewView.h"
#include "support/TempDir.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QScreen>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
        Grid.PutText(1, 1, 0, QStringLiteral("2024年市教育局公共财政预算资金范围划分明细建议表"));
        Grid.SetPageText(QString(), QStringLiteral("共&S页第&P页"), QString());
    }
    void Fill(int ARows) {
        FillDetailRows(Grid, ARows);
        Grid.FinishTable(7, 1, 0);
    }
    const QPageLayout Layout() const { return Grid.Sheet().Page().Layout(); }

    TCell5 Grid;
    TempDir Dir;
};

// Share of a band of the image that is not white paper.
double Ink(const QImage& AImage, double ATop, double ABottom) {
    int Inked = 0, All = 0;
    for (int Y = int(AImage.height() * ATop); Y < int(AImage.height() * ABottom); ++Y)
        for (int X = 0; X < AImage.width(); X += 2, ++All)
            Inked += qGray(AImage.pixel(X, Y)) < 160 ? 1 : 0;
    return All ? double(Inked) / All : 0;
}

} // namespace

// Grown by the frame the dialog must lie inside the free area, and still
// take most of it.
TEST(PreviewPlace, FitsTheFreeAreaOfEveryScreen) {
    const struct {
        const char* Screen;
        QRect Available;
    } Cases[] = {
        {"1366x768", {0, 0, 1366, 768}},   {"1366x768 below a panel", {0, 32, 1366, 736}},
        {"1920x1080", {0, 0, 1920, 1080}}, {"1920x1080 right of another", {1366, 0, 1920, 1040}},
        {"300x200", {0, 0, 300, 200}},
    };
    using D = TCellPreviewDialog;
    for (const auto& Case : Cases) {
        const QRect Place = D::FittedGeometry(Case.Available);
        const QRect Frame =
            Place.adjusted(-D::FrameWidth / 2, -(D::FrameHeight - D::FrameWidth / 2),
                           D::FrameWidth / 2, D::FrameWidth / 2);
        EXPECT_TRUE(Case.Available.contains(Frame)) << Case.Screen;
        EXPECT_GE(Place.width(), Case.Available.width() * 0.85) << Case.Screen;
        EXPECT_GE(Place.height(), Case.Available.height() * 0.78) << Case.Screen;
    }
}

// A long table, the dialog placed on its screen's free area: the first
// page shows once it is drawn, the others wait until they come into view;
// the pages break where the PDF's do.
TEST_F(PreviewTest, DrawsThePagesInViewOnly) {
    Fill(400);
    TCellPreviewDialog Dialog(Grid.Sheet(), Layout(), &Grid);
    EXPECT_EQ(Dialog.geometry(),
              TCellPreviewDialog::FittedGeometry(Grid.screen()->availableGeometry()));
    Dialog.show();
    Dialog.grab();
    const int Pages = Dialog.Pages().Count();
    ASSERT_GE(Pages, 30);
    EXPECT_EQ(Pages, TCellPrinter(Grid.Sheet()).PdfPageCount());
    const int Drawn = Dialog.Pages().DrawnCount();
    EXPECT_GE(Drawn, 1);
    EXPECT_LE(Drawn, 3);
    EXPECT_EQ(Dialog.View().CurrentPage(), 0);

    Dialog.View().GoToPage(Pages - 1);
    Dialog.grab();
    EXPECT_EQ(Dialog.View().CurrentPage(), Pages - 1);
    EXPECT_EQ(Dialog.findChild<QSpinBox*>(QStringLiteral("PageBox"))->value(), Pages);
    EXPECT_LE(Dialog.Pages().DrawnCount(), Drawn + 3);
}

// What a page shows: the title at the top and the page line at the foot,
// on the paper; outside the pages nothing.
TEST_F(PreviewTest, APageShowsItsTitleAndPageLine) {
    Fill(60);
    TCellPreviewPages Pages(Grid.Sheet(), Layout());
    const QImage Page = Pages.Page(0, 1100);
    ASSERT_FALSE(Page.isNull());
    EXPECT_EQ(Page.width(), 1100);
    EXPECT_NEAR(double(Page.height()) / Page.width(), 210.0 / 297, 0.01);
    EXPECT_GT(Ink(Page, 0.05, 0.15), 0.002) << "title";
    EXPECT_GT(Ink(Page, 0.88, 0.96), 0.0005) << "page line";
    EXPECT_EQ(Ink(Page, 0, 0.04), 0) << "top margin";
    for (const int Index : {-1, Pages.Count()})
        EXPECT_TRUE(Pages.Page(Index, 1100).isNull()) << Index;
    EXPECT_TRUE(Pages.Page(0, 0).isNull());
}

// A page looked at again is not drawn again while it is among the last
// pages kept; one more page and it is.
TEST_F(PreviewTest, KeepsTheLastPagesDrawn) {
    Fill(400);
    TCellPreviewPages Pages(Grid.Sheet(), Layout());
    ASSERT_GT(Pages.Count(), TCellPreviewPages::Kept + 1);
    Pages.Page(0, 400);
    Pages.Page(0, 400);
    EXPECT_EQ(Pages.DrawnCount(), 1);
    Pages.Page(0, 500);
    EXPECT_EQ(Pages.DrawnCount(), 2) << "another width is another drawing";
    for (int Index = 1; Index <= TCellPreviewPages::Kept - 2; ++Index)
        Pages.Page(Index, 400);
    EXPECT_EQ(Pages.DrawnCount(), TCellPreviewPages::Kept);
    Pages.Page(0, 400);
    EXPECT_EQ(Pages.DrawnCount(), TCellPreviewPages::Kept) << "still kept";
    // Two more pages push out the two least recently looked at.
    Pages.Page(TCellPreviewPages::Kept - 1, 400);
    Pages.Page(TCellPreviewPages::Kept, 400);
    Pages.Page(0, 400);
    EXPECT_EQ(Pages.DrawnCount(), TCellPreviewPages::Kept + 2) << "looked at last, kept";
    Pages.Page(0, 500);
    EXPECT_EQ(Pages.DrawnCount(), TCellPreviewPages::Kept + 3) << "dropped";
}

// The pages chosen in a print dialog go out with the table's own page
// numbers; to a PDF each page once.
TEST_F(PreviewTest, APageRangeKeepsTheTablesPageNumbers) {
    Fill(120);
    const int Total = TCellPrinter(Grid.Sheet()).PdfPageCount();
    ASSERT_GE(Total, 4);
    const struct {
        int From, To;
        QList<int> Pages;
    } Cases[] = {{1, 1, {1}},
                 {2, 3, {2, 3}},
                 {Total, Total, {Total}},
                 {Total - 1, Total, {Total - 1, Total}}};
    for (const auto& Case : Cases) {
        const QString File =
            Dir.File(QStringLiteral("range-%1-%2.pdf").arg(Case.From).arg(Case.To));
        const std::unique_ptr<QPrinter> Printer = Grid.NewPrinter();
        Printer->setOutputFileName(File);
        Printer->setPrintRange(QPrinter::PageRange);
        Printer->setFromTo(Case.From, Case.To);
        ASSERT_EQ(Grid.PrintOn(*Printer), 0) << Grid.LastError().toStdString();
        ASSERT_EQ(PdfPageCount(File), Case.Pages.size()) << Case.From << "-" << Case.To;
        for (int Page = 0; Page < Case.Pages.size(); ++Page)
            EXPECT_TRUE(
                PdfText(File, Page + 1)
                    .contains(QStringLiteral("共%1页第%2页").arg(Total).arg(Case.Pages[Page])))
                << Case.From << "-" << Case.To << " page " << Page + 1;
    }
    const std::unique_ptr<QPrinter> All = Grid.NewPrinter();
    All->setOutputFileName(Dir.File("all.pdf"));
    ASSERT_EQ(Grid.PrintOn(*All), 0);
    EXPECT_EQ(PdfPageCount(Dir.File("all.pdf")), Total);
}

// A printer that cannot make copies itself is sent the pages once per copy,
// each copy whole and in order.
TEST_F(PreviewTest, CopiesRepeatTheRangeInOrder) {
    Fill(120);
    const QString File = Dir.File("copies.pdf");
    {
        QPdfWriter Writer(File);
        Writer.setResolution(600);
        Writer.setPageLayout(Layout());
        ASSERT_TRUE(TCellPrinter(Grid.Sheet()).Render(Writer, 1, 3, 2));
    }
    ASSERT_EQ(PdfPageCount(File), 4);
    // Written straight, without the mended text layer: 页 reads as a radical.
    for (const auto& [Page, Number] : {std::pair{1, 2}, {2, 3}, {3, 2}, {4, 3}})
        EXPECT_TRUE(PdfText(File, Page).contains(QStringLiteral("第%1").arg(Number))) << Page;
}
