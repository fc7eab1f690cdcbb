#include "TPrintedTotals.h"

#include "TAmountCells.h"
#include "TAuditAmounts.h"
#include "TPrintedCell.h"
#include "TTableRows.h"
#include "cell/TCellDocument.h"

namespace {

// How each known reason reads, and the label under which the status line
// sums it when it touches a row's total.
struct TCauseText {
    const char* Text;
    const char* Brief;
};
const TCauseText CauseTexts[] = {
    {"不大于 0.001 的金额（负数或不足一分）不列示", "合计含不列示的金额"},
    {"拆分行的其余部分净额为负，未单列成行", "合计含拆分行未单列的部分"},
    {"拆分行只列暂按原渠道拨付的部分，其余金额未单列成行", "合计含拆分行未单列的部分"},
    {"注明“暂按原渠道拨付”的单元格不列金额", "合计含注明暂按原渠道拨付的金额"},
    {"金额按两位小数列示的舍入差", "合计含舍入差"}};

// What a row that is not split writes: its total, and each other amount
// when it is present.
TPrintedTotals::TAmounts Written(const TPrintedTotals::TAmounts& AAmounts, std::size_t AColumns) {
    TPrintedTotals::TAmounts Written{};
    Written[0] = AAmounts[0];
    for (std::size_t Col = 1; Col < AColumns; ++Col)
        Written[Col] = TAmountCells::Present(AAmounts[Col]) ? AAmounts[Col] : 0;
    return Written;
}

} // namespace

TPrintedTotals::TPrintedTotals(std::vector<TColumn> AColumns, bool ANumbersAsValues)
    : FColumns(std::move(AColumns))
    , FNumbersAsValues(ANumbersAsValues) {}

// A cell's query amount less what it prints, as it moves the difference
// between a block's total and its rows: a total row's share lowers it, a
// listed row's share raises it.
void TPrintedTotals::Share(TShare& AShare, double AAmount, bool ATotal) {
    AShare.Amount += ATotal ? -AAmount : AAmount;
    if (!TAuditAmounts::IsZero(AAmount))
        ++AShare.Rows;
}

// A block's total row is also one of the rows under the grand total.
void TPrintedTotals::Attribute(int ABlock, bool ATotal, int ACause, std::size_t ACol,
                               double AAmount) {
    Share(FBlocks[ABlock].Causes[std::size_t(ACause)][ACol], AAmount, ATotal);
    const auto Grand = FBlocks.find(GrandBlock);
    if (ATotal && ABlock != GrandBlock && Grand != FBlocks.end())
        Share(Grand->second.Causes[std::size_t(ACause)][ACol], AAmount, false);
}

void TPrintedTotals::Expect(int ABlock, bool ATotal, int ARow, const TAmounts& AWritten) {
    TExpectedRow Expected{ARow, ABlock, ATotal, {}};
    for (std::size_t Col = 0; Col < Columns(); ++Col) {
        Expected.Shown[Col] = TPrintedCell::Shown(AWritten[Col], FNumbersAsValues);
        Attribute(ABlock, ATotal, Rounding, Col, AWritten[Col] - Expected.Shown[Col]);
    }
    FRows.push_back(Expected);
}

void TPrintedTotals::Grand(const QString& AName, int ARow, const TAmounts& AAmounts) {
    Total(GrandBlock, AName, ARow, AAmounts);
}

void TPrintedTotals::Total(int ABlock, const QString& AName, int ARow, const TAmounts& AAmounts) {
    TBlock& Block = FBlocks[ABlock];
    Block.Name = AName;
    Block.TotalRow = ARow;
    Block.Total = AAmounts;
    const TAmounts Cells = Written(AAmounts, Columns());
    for (std::size_t Col = 1; Col < Columns(); ++Col)
        Attribute(ABlock, true, Small, Col, AAmounts[Col] - Cells[Col]);
    Expect(ABlock, true, ARow, Cells);
}

void TPrintedTotals::Listed(int ABlock, int ARow, const TAmounts& AAmounts,
                            const TFormerChannelParts* ASplit) {
    TBlock& Block = FBlocks[ABlock];
    for (std::size_t Col = 0; Col < Columns(); ++Col)
        Block.Listed[Col] += AAmounts[Col];
    if (ASplit != nullptr) {
        ListedSplit(ABlock, ARow, AAmounts, *ASplit);
        return;
    }
    const TAmounts Cells = Written(AAmounts, Columns());
    for (std::size_t Col = 1; Col < Columns(); ++Col)
        Attribute(ABlock, false, Small, Col, AAmounts[Col] - Cells[Col]);
    Expect(ABlock, false, ARow, Cells);
}

// A split row prints its basic and its project former-channel part, each
// when present, then the rest with the channel amounts when a treasury
// channel holds one. Without that row the rest, and the channel amounts
// (none of them present), are in no cell.
void TPrintedTotals::ListedSplit(int ABlock, int ARow, const TAmounts& AAmounts,
                                 const TFormerChannelParts& ASplit) {
    int Row = ARow;
    for (const double Part : {ASplit.Jbsb, ASplit.Xmsb}) {
        if (TAmountCells::Present(Part))
            Expect(ABlock, false, Row++, {Part});
        else
            Attribute(ABlock, false, Small, 0, Part);
    }
    const double Rest = AAmounts[0] - ASplit.Jbsb - ASplit.Xmsb;
    if (ASplit.TreasuryPresent) {
        TAmounts Cells = Written(AAmounts, Columns());
        Cells[0] = Rest;
        for (std::size_t Col = 1; Col < Columns(); ++Col)
            Attribute(ABlock, false, Small, Col, AAmounts[Col] - Cells[Col]);
        Expect(ABlock, false, Row, Cells);
        return;
    }
    const int Cause = Rest < 0 ? SplitNegative : SplitRest;
    for (std::size_t Col = 0; Col < Columns(); ++Col)
        Attribute(ABlock, false, Cause, Col, Col == 0 ? Rest : AAmounts[Col]);
}

// What the query itself leaves out between a total and its rows: rows that
// net to zero or less; under the grand total, whatever the blocks' totals
// do not hold.
TPrintedTotals::TAmounts TPrintedTotals::Unlisted(int ABlock, const TBlock& ABlockData) const {
    TAmounts Rows = ABlockData.Listed;
    if (ABlock == GrandBlock) {
        Rows = {};
        for (const auto& [Key, Block] : FBlocks) {
            if (Key == GrandBlock || Block.TotalRow == 0)
                continue;
            for (std::size_t Col = 0; Col < Columns(); ++Col)
                Rows[Col] += Block.Total[Col];
        }
    }
    TAmounts Unlisted{};
    for (std::size_t Col = 0; Col < Columns(); ++Col)
        Unlisted[Col] = ABlockData.Total[Col] - Rows[Col];
    return Unlisted;
}

std::map<int, TPrintedTotals::TPrinted> TPrintedTotals::Read(const TCellDocument& AGrid) const {
    std::map<int, TPrinted> Printed;
    const bool WithGrand = FBlocks.count(GrandBlock) != 0;
    for (const TExpectedRow& Row : FRows) {
        TPrinted& Own = Printed[Row.Block];
        TPrinted* Grand =
            Row.Total && Row.Block != GrandBlock && WithGrand ? &Printed[GrandBlock] : nullptr;
        for (std::size_t Col = 0; Col < Columns(); ++Col) {
            const int GridCol = FColumns[Col].Grid;
            const double Amount = TPrintedCell::Amount(AGrid, GridCol, Row.Row);
            const double Missing = Row.Shown[Col] - Amount;
            if (!TAuditAmounts::IsZero(Missing) && TPrintedCell::Covered(AGrid, GridCol, Row.Row)) {
                Share(Own.Notes[Col], Missing, Row.Total);
                if (Grand)
                    Share(Grand->Notes[Col], Missing, false);
            }
            (Row.Total ? Own.Total : Own.Rows)[Col] += Amount;
            if (Grand)
                Grand->Rows[Col] += Amount;
        }
    }
    return Printed;
}

void TPrintedTotals::Check(const TCellDocument& AGrid, TAuditResult& AResult) const {
    const std::map<int, TPrinted> Printed = Read(AGrid);
    // The grand total against the block totals, and the block totals
    // against their rows, are said apart.
    TCauseShares Grand{};
    TCauseShares Blocks{};
    for (const auto& [Key, Block] : FBlocks) {
        const auto Found = Printed.find(Key);
        if (Block.TotalRow == 0 || Found == Printed.end())
            continue;
        TCauseShares Shares = Block.Causes;
        for (std::size_t Col = 0; Col < Columns(); ++Col)
            Shares[Note][Col] = Found->second.Notes[Col];
        CheckBlock(Unlisted(Key, Block), Block.Name, Found->second, Shares, AResult);
        TCauseShares& Table = Key == GrandBlock ? Grand : Blocks;
        for (std::size_t Cause = 0; Cause < CauseCount; ++Cause) {
            for (std::size_t Col = 0; Col < Columns(); ++Col) {
                Table[Cause][Col].Amount += Shares[Cause][Col].Amount;
                Table[Cause][Col].Rows += Shares[Cause][Col].Rows;
            }
        }
    }
    Explain(Blocks, false, AResult);
    Explain(Grand, true, AResult);
}

// The printed total less its printed rows must be what the known reasons
// make it, column by column; the first column where it is not fails.
void TPrintedTotals::CheckBlock(const TAmounts& AUnlisted, const QString& AName,
                                const TPrinted& APrinted, const TCauseShares& AShares,
                                TAuditResult& AResult) const {
    for (std::size_t Col = 0; Col < Columns(); ++Col) {
        double Known = AUnlisted[Col];
        for (std::size_t Cause = 0; Cause < CauseCount; ++Cause)
            Known += AShares[Cause][Col].Amount;
        if (!TAuditAmounts::Same(APrinted.Total[Col], APrinted.Rows[Col] + Known)) {
            AResult.Fail(QStringLiteral("表中%1的%2栏与其下所列各行之和相差，无已知原因")
                             .arg(AName, FColumns[Col].Name),
                         APrinted.Total[Col] - APrinted.Rows[Col] - Known);
            return;
        }
    }
}

// Each known reason with what it makes of the printed totals less their
// rows, per column, summed over the blocks; the status line sums those of
// the blocks' total column.
void TPrintedTotals::Explain(const TCauseShares& AShares, bool AGrand,
                             TAuditResult& AResult) const {
    const QString Where =
        AGrand ? QStringLiteral("总计行与各合计行之差") : QStringLiteral("合计行与所列各行之差");
    for (std::size_t Cause = 0; Cause < CauseCount; ++Cause) {
        const TCauseText& Text = CauseTexts[Cause];
        for (std::size_t Col = 0; Col < Columns(); ++Col) {
            const TShare& Share = AShares[Cause][Col];
            if (Share.Rows == 0 || TAuditAmounts::IsZero(Share.Amount))
                continue;
            AResult.ExplainPrinted(
                QStringLiteral("%1（%2栏）：%3")
                    .arg(Where, FColumns[Col].Name, QString::fromUtf8(Text.Text)),
                Share.Amount, Cause == Rounding ? -1 : Share.Rows,
                Col == 0 && !AGrand ? QString::fromUtf8(Text.Brief) : QString());
        }
    }
}
