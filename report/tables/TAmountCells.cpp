#include "TAmountCells.h"

#include "ReportCodes.h"
#include "cell/TCell.h"
#include "cell/TCellDocument.h"

#include <cmath>

double TAmountCells::Written(double AAmount) {
    // Sums of yuan with cents, divided by 10000, have six decimals; what
    // lies beyond is the noise of adding doubles in some order, which
    // differs between databases. Written without it, the same data gives the
    // same cells everywhere and a half cent rounds as the decimal reads.
    return std::round(AAmount * 1e6) / 1e6;
}

void TAmountCells::Write(int ACol, int ARow, double AAmount) {
    // Every amount stands at the right of its cell, whichever row of a
    // split it is on: on paper a column of figures reads by its last digit.
    FGrid.PutAlign(ACol, ARow, 0, AlignAmount);
    const double Amount = Written(AAmount);
    if (FNumbersAsValues)
        FGrid.PutNumber(ACol, ARow, 0, Amount);
    else
        FGrid.PutText(ACol, ARow, 0, TCell::FormatNumber(Amount));
}

void TAmountCells::WriteIfPresent(int ACol, int ARow, double AAmount) {
    if (Present(AAmount))
        Write(ACol, ARow, AAmount);
}
