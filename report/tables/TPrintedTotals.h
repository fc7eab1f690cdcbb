#pragma once

#include "TAuditResult.h"

#include <QString>
#include <array>
#include <climits>
#include <cstddef>
#include <map>
#include <vector>

class TCellDocument;
struct TFormerChannelParts;

// The total rows of a drawn table held against the rows listed under them,
// as their cells print: each block's total row against the rows of its
// block, the grand total against the block totals, in every amount column.
//
// The layouts say what each query row is and on which grid row it starts.
// From the query's amounts this works out what every cell prints and with
// it the known reasons why a printed total differs from the sum of the rows
// printed under it:
// - rows that net to zero or less are not listed (named by the table's own
//   audit, which counts them);
// - amounts of 0.001 or less (negatives included) leave their cell empty;
// - a split row shows its former-channel parts, and the rest of it gets a
//   row of its own only when some treasury channel holds an amount: a rest
//   that is negative, or that lies outside the channel columns, is in no row;
// - cells that print the former-channel note, or hide under its merge,
//   show no amount;
// - amounts shown as text are rounded to the cent of 万元.
// A difference beyond these is a row or a cell the grid lost or changed.
class TPrintedTotals {
public:
    static constexpr std::size_t MaxColumns = 7;
    using TAmounts = std::array<double, MaxColumns>;
    // An amount column: its grid column and its name in findings. The
    // first is the row's total (always written); the others show an amount
    // only when it is present.
    struct TColumn {
        int Grid = 0;
        QString Name;
    };

    TPrintedTotals() = default;
    TPrintedTotals(std::vector<TColumn> AColumns, bool ANumbersAsValues);

    // The grand total, on grid row ARow: its rows are the blocks' totals.
    void Grand(const QString& AName, int ARow, const TAmounts& AAmounts);
    // The total row of block ABlock.
    void Total(int ABlock, const QString& AName, int ARow, const TAmounts& AAmounts);
    // A row listed in block ABlock from grid row ARow on: one grid row, or
    // as many as its split (ASplit) has parts.
    void Listed(int ABlock, int ARow, const TAmounts& AAmounts,
                const TFormerChannelParts* ASplit = nullptr);

    // Reads the cells of AGrid and adds what it finds to AResult: each
    // known reason that makes a printed total differ from its rows, summed
    // over the table per column, and a failure for every block whose
    // printed total differs from its rows beyond them.
    void Check(const TCellDocument& AGrid, TAuditResult& AResult) const;

private:
    enum TCause { Small, SplitNegative, SplitRest, Note, Rounding, CauseCount };
    struct TShare {
        double Amount = 0;
        int Rows = 0;
    };
    using TCauseShares = std::array<std::array<TShare, MaxColumns>, CauseCount>;
    struct TBlock {
        QString Name;
        int TotalRow = 0;
        TAmounts Total{};
        TAmounts Listed{};
        TCauseShares Causes{};
    };
    // A grid row and what each amount cell of it prints.
    struct TExpectedRow {
        int Row = 0;
        int Block = 0;
        bool Total = false;
        TAmounts Shown{};
    };
    // What the cells of a block print, and the amounts they hide under
    // the former-channel note.
    struct TPrinted {
        TAmounts Total{};
        TAmounts Rows{};
        std::array<TShare, MaxColumns> Notes{};
    };
    static constexpr int GrandBlock = INT_MIN;

    std::size_t Columns() const { return FColumns.size(); }
    static void Share(TShare& AShare, double AAmount, bool ATotal);
    void Attribute(int ABlock, bool ATotal, int ACause, std::size_t ACol, double AAmount);
    void Expect(int ABlock, bool ATotal, int ARow, const TAmounts& AWritten);
    void ListedSplit(int ABlock, int ARow, const TAmounts& AAmounts,
                     const TFormerChannelParts& ASplit);
    TAmounts Unlisted(int ABlock, const TBlock& ABlockData) const;
    std::map<int, TPrinted> Read(const TCellDocument& AGrid) const;
    void CheckBlock(const TAmounts& AUnlisted, const QString& AName, const TPrinted& APrinted,
                    const TCauseShares& AShares, TAuditResult& AResult) const;
    void Explain(const TCauseShares& AShares, bool AGrand, TAuditResult& AResult) const;

    std::vector<TColumn> FColumns;
    bool FNumbersAsValues = false;
    std::map<int, TBlock> FBlocks;
    std::vector<TExpectedRow> FRows;
};
