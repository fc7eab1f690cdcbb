#pragma once

#include "TAmountCells.h"

#include <functional>

class TCellDocument;

// The parts of a row whose amounts partly keep their former payment channel
// (channel 31): its total, its basic and project former-channel amounts and
// whether anything goes through the treasury channels.
struct TFormerChannelParts {
    double Summ = 0;
    double Jbsb = 0;
    double Xmsb = 0;
    bool TreasuryPresent = false;
};

// The rows of a table being drawn into a grid below its template: appended
// one by one, closed with a style and a fitted height, and the splitting of
// a row with former-channel amounts that both tables share.
class TTableRows {
public:
    TTableRows(TCellDocument& AGrid, bool ANumbersAsValues);

    TCellDocument& Grid() { return FGrid; }
    TAmountCells& Amounts() { return FAmounts; }
    int AppendRow();
    // The note "暂按原渠道拨付" across ACol and the column after it.
    void Note(int ACol, int ARow);
    // Columns 1 to AColumns of the row in AStyle, and the row's fitted height.
    void CloseRow(int ARow, int AColumns, int AStyle);

    // Writes a row with former-channel amounts as one grid row for its
    // basic part, one for its project part and one for what goes through
    // the treasury channels, each that is present, in this order; the
    // amount in AAmountCol, the notes from ANoteCol on (basic) and two
    // columns further (project). ASubject fills the subject cells of a
    // further row, AChannels the treasury amounts of the last. Returns the
    // last row; ABasicSeen and AProjectSeen are set for the parts written.
    int SplitFormerChannel(int ARow, int AAmountCol, int ANoteCol,
                           const TFormerChannelParts& AParts,
                           const std::function<void(int)>& ASubject,
                           const std::function<void(int)>& AChannels, bool& ABasicSeen,
                           bool& AProjectSeen);

private:
    TCellDocument& FGrid;
    TAmountCells FAmounts;
};
