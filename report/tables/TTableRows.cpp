#include "TTableRows.h"

#include "ReportCodes.h"
#include "cell/TCellDocument.h"

namespace {
// Rows are closed across the columns both templates share before the split.
constexpr int SplitColumns = 12;
} // namespace

TTableRows::TTableRows(TCellDocument& AGrid, bool ANumbersAsValues)
    : FGrid(AGrid)
    , FAmounts(AGrid, ANumbersAsValues) {}

int TTableRows::AppendRow() {
    FGrid.SetRowCount(FGrid.GetRowCount(0) + 1, 0);
    return FGrid.GetRowCount(0) - 1;
}

void TTableRows::Note(int ACol, int ARow) {
    FGrid.JoinCells(ACol, ARow, ACol + 1, ARow);
    FGrid.PutAlign(ACol, ARow, 0, AlignCentred);
    FGrid.PutText(ACol, ARow, 0, QString::fromUtf8(FormerChannelNote));
}

void TTableRows::CloseRow(int ARow, int AColumns, int AStyle) {
    for (int Col = 1; Col <= AColumns; ++Col)
        FGrid.PutStyle(Col, ARow, 0, AStyle);
    FGrid.PutRowHeight(1, FGrid.FitRowHeight(ARow), ARow, 0);
}

int TTableRows::SplitFormerChannel(int ARow, int AAmountCol, int ANoteCol,
                                   const TFormerChannelParts& AParts,
                                   const std::function<void(int)>& ASubject,
                                   const std::function<void(int)>& AChannels, bool& ABasicSeen,
                                   bool& AProjectSeen) {
    int Row = ARow;
    if (TAmountCells::Present(AParts.Jbsb)) {
        ABasicSeen = true;
        FAmounts.Write(AAmountCol, Row, AParts.Jbsb);
        Note(ANoteCol, Row);
        if (TAmountCells::Present(AParts.Xmsb)) {
            CloseRow(Row, SplitColumns, StyleOrdinary);
            Row = AppendRow();
            ASubject(Row);
        }
    }
    if (TAmountCells::Present(AParts.Xmsb)) {
        AProjectSeen = true;
        FAmounts.Write(AAmountCol, Row, AParts.Xmsb);
        Note(ANoteCol + 2, Row);
    }
    if (AParts.TreasuryPresent) {
        CloseRow(Row, SplitColumns, StyleOrdinary);
        Row = AppendRow();
        ASubject(Row);
        FAmounts.Write(AAmountCol, Row, AParts.Summ - AParts.Jbsb - AParts.Xmsb);
        AChannels(Row);
    }
    return Row;
}
