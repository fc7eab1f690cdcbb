#include "support/CellFixture.h"

#include "cell/TCellPaginator.h"

#include <gtest/gtest.h>

namespace {

// A sheet of 24-pixel rows: rows 1..AHeading form the repeated heading, then
// ABody body rows.
TCellSheet RowsSheet(int AHeading, int ABody) {
    TCellSheet Sheet;
    Sheet.SetColCount(3);
    Sheet.SetDefaultRowHeight(24);
    Sheet.SetRowCount(1 + AHeading + ABody);
    Sheet.Page().RepeatFirstRow = 1;
    Sheet.Page().RepeatLastRow = AHeading;
    return Sheet;
}

// Pages must cover the body rows in order, each exactly once.
void ExpectContiguous(const std::vector<TCellPaginator::TPage>& APages, int AFirst, int ALast) {
    int Next = AFirst;
    for (const auto& Page : APages) {
        EXPECT_EQ(Page.FirstRow, Next);
        EXPECT_GE(Page.LastRow, Page.FirstRow);
        Next = Page.LastRow + 1;
    }
    EXPECT_EQ(Next, ALast + 1);
}

} // namespace

TEST(Pagination, WholeRowsFillEachPageAndAllRowsArePrinted) {
    const TCellSheet Sheet = RowsSheet(7, 95);
    const auto Pages = TCellPaginator(Sheet).Paginate(24 * 10 + 5);
    ASSERT_EQ(Pages.size(), 10u);
    ExpectContiguous(Pages, 8, 102);
    for (const auto& Page : Pages) {
        EXPECT_LE(Sheet.RowTop(Page.LastRow + 1) - Sheet.RowTop(Page.FirstRow), 245);
        EXPECT_FALSE(Page.Lead);
    }
}

TEST(Pagination, MarkedLastRowsStayWithTheRowBeforeThem) {
    TCellSheet Sheet = RowsSheet(7, 22);
    // Without marks the last page would carry the two note rows alone.
    ASSERT_EQ(TCellPaginator(Sheet).Paginate(240).back().FirstRow, 28);
    Sheet.Page().KeepFirstRow = 28;
    Sheet.Page().KeepLastRow = 29;
    const auto Pages = TCellPaginator(Sheet).Paginate(240);
    ExpectContiguous(Pages, 8, 29);
    EXPECT_EQ(Pages.back().FirstRow, 27);
}

TEST(Pagination, RowsTallerThanAPageGetAPageOfTheirOwn) {
    TCellSheet Sheet = RowsSheet(2, 5);
    Sheet.SetRowHeight(5, 1000);
    const auto Pages = TCellPaginator(Sheet).Paginate(100);
    ExpectContiguous(Pages, 3, 7);
    ASSERT_EQ(Pages.size(), 3u);
    EXPECT_EQ(Pages[1].FirstRow, 5);
    EXPECT_EQ(Pages[1].LastRow, 5);
    // Marks that cannot fit on one page do not hold rows back.
    Sheet.Page().KeepFirstRow = 5;
    Sheet.Page().KeepLastRow = 7;
    ExpectContiguous(TCellPaginator(Sheet).Paginate(100), 3, 7);
}

TEST(Pagination, RowsAboveTheRepeatedHeadingLeadTheFirstPageOnly) {
    TCellSheet Sheet = RowsSheet(4, 30);
    Sheet.Page().RepeatFirstRow = 3; // rows 1 and 2: a title printed once
    const TCellPaginator Paginator(Sheet);
    EXPECT_EQ(Paginator.LeadLastRow(), 2);
    EXPECT_EQ(Paginator.HeadingHeight(), 48);
    const auto Pages = Paginator.Paginate(240);
    ExpectContiguous(Pages, 5, 34);
    EXPECT_TRUE(Pages.front().Lead);
    EXPECT_EQ(Pages.front().LastRow, 5 + 7); // 10 rows minus the 2-row lead
    EXPECT_FALSE(Pages[1].Lead);
}

TEST(Pagination, AnEmptyTableStillPrintsItsHeadingOnOnePage) {
    const TCellSheet Sheet = RowsSheet(7, 0);
    const auto Pages = TCellPaginator(Sheet).Paginate(240);
    ASSERT_EQ(Pages.size(), 1u);
    EXPECT_GT(Pages[0].FirstRow, Pages[0].LastRow);
}
