#pragma once

#include "DetailQuery.h"
#include "TAuditAmounts.h"
#include "TAuditResult.h"

#include <QString>
#include <map>

// The audit of a detail table. Fed with the table's query rows as the fill
// lays them out, it checks that the unit rows of every level add up to the
// level's subtotal and that the subtotals add up to the grand total. Where
// they do not, or where a total row is missing, it asks for the amounts the
// database counts for the same selection (NeedsCount, DetailTotalsSql) and
// then also holds every total row against them. Each difference is named
// with its cause (rows that net to zero or less and are not listed, units
// at a level outside the table's levels, rows counted in two levels,
// amounts that keep their former channel or fit no column) or reported as
// having none.
class TDetailAudit {
public:
    TDetailAudit(const QString& APrefix, const TDetailQueryParts& AParts);

    // Whether a row of the table's query is its grand total.
    bool IsGrandTotal(int AOrder, const TDetailRowText& AText) const;
    // One row of the table's query, with its orderid (the block it is in).
    void AddRow(int AOrder, const TDetailRowText& AText, const TDetailRowAmounts& AAmounts);
    // One row of the totals query: adjustments of codes of ALength
    // characters, the selection's own code or not.
    void AddCounted(int ALength, bool AOwn, int ARows, const TAuditAmounts& AAmounts);
    // Whether the rows alone leave a difference or an unknown total that
    // only the counted amounts can explain. Most tables need no count.
    bool NeedsCount() const;
    // The dropped-rows query ran: from now on a block it gives no row for
    // dropped none.
    void StartDropped() { FDroppedCounted = true; }
    // One row of the dropped-rows query (DetailDroppedSql), its sum in 万元.
    void AddDropped(int ALength, bool AOwn, int ARows, double ASumm);
    // Whether some level lists fewer rows than its total holds, so that the
    // rows the query dropped must be counted (after the count above).
    bool NeedsDropped() const;
    TAuditResult Finish() const;

    // The grand total as printed, or as counted when the table has none;
    // for the comparison with the summary table.
    TAuditAmounts GrandTotal() const;

private:
    struct TLevel {
        bool SubtotalListed = false;
        TAuditAmounts Subtotal;
        TAuditAmounts Units;
        int UnitRows = 0;
    };
    struct TCounted {
        int Rows = 0;
        TAuditAmounts Amounts;
    };
    struct TDropped {
        int Rows = 0;
        double Summ = 0;
    };

    bool InRange(int ALevel) const;
    bool OwnCountedTwice() const;
    TAuditAmounts SubtotalsSum() const;
    QString LevelName(int ALevel) const;
    TAuditAmounts Counted() const;
    TAuditAmounts ExpectedAt(int ALevel) const;
    void CheckGrandTotal(TAuditResult& AResult) const;
    TLevel LevelAt(int ALevel) const;
    TAuditAmounts ExpectedOf(int ALevel, const TLevel& ALevelRows) const;
    TDropped DroppedAt(int ALevel) const;
    void ExplainHidden(int ALevel, double AHidden, TAuditResult& AResult) const;
    void CheckLevel(int ALevel, TAuditResult& AResult) const;
    void ExplainOutside(TAuditResult& AResult) const;
    void ExplainFormer(double AFormer, TAuditResult& AResult) const;
    void ExplainColumns(TAuditResult& AResult) const;

    TDetailQueryParts FParts;
    int FOwnLevel;
    bool FGrandListed = false;
    TAuditAmounts FGrand;
    std::map<int, TLevel> FLevels;
    bool FCounted = false;
    std::map<int, TCounted> FCountedByLevel;
    TCounted FOwn;
    bool FDroppedCounted = false;
    std::map<int, TDropped> FDroppedByLevel;
    TDropped FDroppedOwn;
    // The former-channel amounts of the listed unit rows and the rows that
    // carry any.
    double FFormerListed = 0;
    int FFormerRows = 0;
};
