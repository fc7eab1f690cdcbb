#pragma once

#include "TCellSheet.h"

#include <vector>

// Divides a sheet's rows into pages. Every page starts with the repeated
// heading rows; the rows above them (if any) lead the first page only; the
// body rows follow, never cut across a page. The rows kept together at the
// end of the table go onto one page with the row before them whenever they
// fit on a page at all. A single row taller than a page gets a page alone.
class TCellPaginator {
public:
    struct TPage {
        bool Lead = false; // the rows above the repeated heading come first
        int FirstRow = 0;  // body rows; FirstRow > LastRow: none
        int LastRow = -1;
    };

    explicit TCellPaginator(const TCellSheet& ASheet);

    // The pages for a page height (sheet pixels) below the repeated rows.
    std::vector<TPage> Paginate(int APageHeight) const;

    int LeadLastRow() const;   // last row before the repeated heading, 0: none
    int HeadingHeight() const; // height of the repeated heading
    int LeadHeight() const;
    int FirstBodyRow() const;

private:
    int KeepStart() const;

    const TCellSheet& FSheet;
};
