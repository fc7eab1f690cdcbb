#pragma once

#include <QString>
#include <optional>

// A rectangle of cells, columns and rows counted from 1, both ends included.
struct TCellRange {
    int FirstCol = 1;
    int FirstRow = 1;
    int LastCol = 1;
    int LastRow = 1;

    int ColSpan() const { return LastCol - FirstCol + 1; }
    int RowSpan() const { return LastRow - FirstRow + 1; }
    bool IsSingle() const { return FirstCol == LastCol && FirstRow == LastRow; }
    bool Contains(int ACol, int ARow) const {
        return ACol >= FirstCol && ACol <= LastCol && ARow >= FirstRow && ARow <= LastRow;
    }
    bool Intersects(const TCellRange& AOther) const;
    bool operator==(const TCellRange& AOther) const;

    // The range with its corners put in order.
    static TCellRange Normalised(int ACol1, int ARow1, int ACol2, int ARow2);
    // "B4" or "B4:E5" in the A1 notation of spreadsheets; nothing when the
    // text is not such a reference.
    static std::optional<TCellRange> Parse(const QString& AText);
    static QString ColumnName(int ACol);
};
