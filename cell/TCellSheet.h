#pragma once

#include "TCell.h"
#include "TCellPageSetup.h"
#include "TCellRange.h"

#include <QFont>
#include <QRect>
#include <cstdint>
#include <vector>

// The content of one report grid, without any widget: columns, rows, cells,
// merged cells, fonts and page set-up. Columns and rows count from 1; row 0
// exists (RowCount counts it) but is never shown. Sizes are pixels at 96 dots
// per inch; fonts are sized in pixels on the same scale, so that the screen,
// the printer and the row-height fitting measure text alike.
class TCellSheet {
public:
    static constexpr int MaxColumns = 256;
    // Far beyond any table; a grid holds every row of a table, whatever a
    // workbook can take (TCellXlsxWriter refuses what it cannot).
    static constexpr int MaxRows = 100000000;
    static constexpr int DefaultColWidth = 72;
    static constexpr int DefaultRowHeightPx = 22;

    TCellSheet();

    // Back to a blank sheet: row 0 only, no columns, one default font.
    void Clear();

    int RowCount() const { return static_cast<int>(FRows.size()); }
    void SetRowCount(int ACount);
    int ColCount() const { return static_cast<int>(FColWidths.size()); }
    void SetColCount(int ACount);

    int ColWidth(int ACol) const;
    void SetColWidth(int ACol, int AWidth);
    int RowHeight(int ARow) const;
    void SetRowHeight(int ARow, int AHeight);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int AHeight);

    // The cell, or nothing outside the sheet.
    const TCell* Cell(int ACol, int ARow) const;
    // The cell to write into. A column beyond the last one (up to MaxColumns)
    // is added; a row beyond the last one is not: rows grow only through
    // SetRowCount. Nothing outside those bounds.
    TCell* WritableCell(int ACol, int ARow);

    // Merges the range into one cell shown by its top-left cell. Merges that
    // the range overlaps are dissolved first. False when the range lies
    // outside the sheet. The work grows with the rows the range spans, not
    // with its area or with the number of merges.
    bool Join(const TCellRange& ARange);
    // The merge covering the cell, or nothing.
    const TCellRange* MergeAt(int ACol, int ARow) const;
    const std::vector<TCellRange>& Merges() const { return FMerges; }
    // The line along one edge of a range: the strongest line that any cell
    // on that side has, so a merge shows an edge set on any of its cells.
    int RangeEdge(const TCellRange& ARange, int AEdge) const;

    int AddFont(const QFont& AFont);
    void SetFont(int AIndex, const QFont& AFont);
    int FontCount() const { return static_cast<int>(FFonts.size()); }
    const QFont& Font(int AIndex) const;
    // The font a cell is drawn with: its font, bold for bold styles.
    QFont CellFont(const TCell& ACell) const;
    static QFont MakeFont(const QString& AFamily, double APointSize, bool ABold);

    TCellPageSetup& Page() { return FPage; }
    const TCellPageSetup& Page() const { return FPage; }

    // Geometry in sheet pixels; row 1 starts at y 0, column 1 at x 0.
    int RowTop(int ARow) const;
    int ColLeft(int ACol) const;
    int TotalWidth() const { return ColLeft(ColCount() + 1); }
    int TotalHeight() const { return RowTop(RowCount()); }
    // The row under y (1 .. RowCount-1), clamped to the sheet.
    int RowAt(int AY) const;
    int ColAt(int AX) const;
    // The rectangle the cell occupies, the whole merge when it is merged.
    QRect CellRect(int ACol, int ARow) const;
    QRect RangeRect(const TCellRange& ARange) const;

private:
    // The stretch of a row that one merge covers.
    struct TMergeSpan {
        int FirstCol;
        int LastCol;
        int Merge; // index into FMerges
    };

    struct TRow {
        int Height = 0;
        std::vector<TCell> Cells;      // allocated when first written
        std::vector<TMergeSpan> Spans; // merges crossing the row, by column
    };

    // The span of the row that covers the column, or nothing.
    const TMergeSpan* SpanAt(int ACol, int ARow) const;
    // Indexes of the merges the range overlaps, each once.
    std::vector<int> MergesIn(const TCellRange& ARange) const;
    void Dissolve(int AMergeIndex);
    void IndexMerge(int AMergeIndex);
    void UnindexMerge(int AMergeIndex);
    void UpdateRowTops() const;
    void TouchRow(int ARow) { FTopsValidTo = std::min(FTopsValidTo, ARow); }
    void UpdateColLefts();

    std::vector<TRow> FRows;
    std::vector<int> FColWidths;
    std::vector<int> FColLefts; // left edge of each column, and the right end
    // Merges never overlap; each row lists the spans of the merges crossing
    // it, so finding a merge takes one search in one row.
    std::vector<TCellRange> FMerges;
    std::vector<QFont> FFonts;
    TCellPageSetup FPage;
    int FDefaultRowHeight = DefaultRowHeightPx;

    // Row tops are kept as running sums, brought up to date on demand from
    // the first row whose height changed, so appending rows stays cheap.
    mutable std::vector<int> FRowTops;
    mutable int FTopsValidTo = 0;
};
