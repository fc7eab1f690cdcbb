#include "TCellPaginator.h"

#include <algorithm>

TCellPaginator::TCellPaginator(const TCellSheet& ASheet)
    : FSheet(ASheet) {}

int TCellPaginator::LeadLastRow() const {
    const TCellPageSetup& Page = FSheet.Page();
    return Page.HasRepeatedRows() ? Page.RepeatFirstRow - 1 : 0;
}

int TCellPaginator::HeadingHeight() const {
    const TCellPageSetup& Page = FSheet.Page();
    if (!Page.HasRepeatedRows())
        return 0;
    return FSheet.RowTop(Page.RepeatLastRow + 1) - FSheet.RowTop(Page.RepeatFirstRow);
}

int TCellPaginator::LeadHeight() const {
    return FSheet.RowTop(LeadLastRow() + 1);
}

int TCellPaginator::FirstBodyRow() const {
    const TCellPageSetup& Page = FSheet.Page();
    return Page.HasRepeatedRows() ? Page.RepeatLastRow + 1 : 1;
}

int TCellPaginator::KeepStart() const {
    const TCellPageSetup& Page = FSheet.Page();
    if (Page.KeepFirstRow <= 0 || Page.KeepLastRow < Page.KeepFirstRow)
        return 0;
    // The marked rows stay with the row before them, so a table never ends
    // with its closing rows alone on a page.
    return std::max(FirstBodyRow(), Page.KeepFirstRow - 1);
}

std::vector<TCellPaginator::TPage> TCellPaginator::Paginate(int APageHeight) const {
    const int Last = FSheet.RowCount() - 1;
    const int KeepFrom = KeepStart();
    const int KeepTo = std::min(FSheet.Page().KeepLastRow, Last);
    std::vector<TPage> Pages;
    TPage Current{LeadLastRow() > 0, FirstBodyRow(), FirstBodyRow() - 1};
    int Room = std::max(1, APageHeight - LeadHeight());
    for (int Row = FirstBodyRow(); Row <= Last; ++Row) {
        int Need = FSheet.RowHeight(Row);
        if (Row == KeepFrom && KeepFrom > 0) {
            const int Block = FSheet.RowTop(KeepTo + 1) - FSheet.RowTop(KeepFrom);
            if (Block <= APageHeight)
                Need = Block;
        }
        const bool PageHasRows = Current.LastRow >= Current.FirstRow;
        if (Need > Room && PageHasRows) {
            Pages.push_back(Current);
            Current = TPage{false, Row, Row - 1};
            Room = std::max(1, APageHeight);
        }
        Current.LastRow = Row;
        Room -= FSheet.RowHeight(Row);
    }
    Pages.push_back(Current);
    return Pages;
}
