#pragma once

class TCellDocument;

// Writes amounts into a grid: as numbers for export, or as "#,###0.00"
// texts for the shown grid. An amount counts as present only above 0.001.
class TAmountCells {
public:
    TAmountCells(TCellDocument& AGrid, bool ANumbersAsValues)
        : FGrid(AGrid)
        , FNumbersAsValues(ANumbersAsValues) {}

    static bool Present(double AAmount) { return AAmount > 0.001; }

    void Write(int ACol, int ARow, double AAmount);
    // Aligned right and written when present; the cell stays empty otherwise.
    void WriteIfPresent(int ACol, int ARow, double AAmount);

private:
    TCellDocument& FGrid;
    bool FNumbersAsValues;
};
