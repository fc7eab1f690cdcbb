#pragma once

class TCellDocument;

// Writes amounts into a grid, aligned right: as numbers for export, or as
// "#,###0.00" texts for the shown grid. An amount counts as present only
// above 0.001.
class TAmountCells {
public:
    TAmountCells(TCellDocument& AGrid, bool ANumbersAsValues)
        : FGrid(AGrid)
        , FNumbersAsValues(ANumbersAsValues) {}

    static bool Present(double AAmount) { return AAmount > 0.001; }
    // The amount a cell holds when AAmount is written into it: rounded to
    // six decimals (a cent of 万元).
    static double Written(double AAmount);

    void Write(int ACol, int ARow, double AAmount);
    // Written when present; the cell stays empty otherwise.
    void WriteIfPresent(int ACol, int ARow, double AAmount);

private:
    TCellDocument& FGrid;
    bool FNumbersAsValues;
};
