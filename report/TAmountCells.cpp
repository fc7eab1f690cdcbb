#include "TAmountCells.h"

#include "ReportCodes.h"
#include "cell/TCell.h"
#include "cell/TCellDocument.h"

void TAmountCells::Write(int ACol, int ARow, double AAmount) {
    if (FNumbersAsValues)
        FGrid.PutNumber(ACol, ARow, 0, AAmount);
    else
        FGrid.PutText(ACol, ARow, 0, TCell::FormatNumber(AAmount));
}

void TAmountCells::WriteIfPresent(int ACol, int ARow, double AAmount) {
    if (!Present(AAmount))
        return;
    FGrid.PutAlign(ACol, ARow, 0, AlignAmount);
    Write(ACol, ARow, AAmount);
}
