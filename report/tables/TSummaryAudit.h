#pragma once

#include "AuditTotals.h"
#include "SummaryQuery.h"
#include "TAuditAmounts.h"
#include "TAuditResult.h"

#include <QString>
#include <array>
#include <map>

// The audit of a summary table. Fed with the table's query rows and with
// the amounts the database counts per fund nature (SummaryTotalsSql), it
// checks that the grand total and every fund nature's block total are what
// the database holds and that a block's subject rows add up to its total;
// the differences between the grand total and the four blocks are named
// with their causes (fund natures outside the four blocks, the treasury
// amounts of special accounts, expenditure kinds outside their block's
// columns, amounts that keep their former channel or fit no column).
class TSummaryAudit {
public:
    // One row of the table's query, with its orderid (0 the grand total, 1
    // to 4 the blocks of fund natures 11, 12, 21, 31).
    void AddRow(int AOrder, const TSummaryRowText& AText, const TSummaryRowAmounts& AAmounts);
    // One row of the totals query, amounts in 万元.
    void AddCounted(const QString& AMid, const QString& AName, int ARows, double ASumm,
                    const std::array<double, KindChannelCount>& AKinds);
    // The dropped-rows query ran: from now on a block it gives no row for
    // dropped none.
    void StartDropped() { FDroppedCounted = true; }
    // One row of the dropped-subjects query (SummaryDroppedSql), in 万元.
    void AddDropped(const QString& AMid, int ARows, double ASumm);
    // Whether some block lists less than it holds, so that the subjects the
    // query dropped must be counted (after the totals).
    bool NeedsDropped() const;
    TAuditResult Finish() const;

    // A fund nature's block total as printed, or as counted when the block
    // has no total row; for the comparison with its detail table.
    TAuditAmounts BlockTotal(const QString& AMid) const;

private:
    struct TCounted {
        QString Name;
        int Rows = 0;
        double Summ = 0;
        std::array<double, KindChannelCount> Kinds{};

        double K(TKindChannel AKind) const { return Kinds[size_t(AKind)]; }
    };
    struct TBlock {
        bool TotalListed = false;
        TAuditAmounts Total;
        TAuditAmounts Subjects;
    };
    struct TDropped {
        int Rows = 0;
        double Summ = 0;
    };

    TCounted CountedOf(const QString& AMid) const;
    TAuditAmounts ExpectedTotal(const QString& AMid) const;
    TAuditAmounts ExpectedGrand() const;
    void CheckGrand(TAuditResult& AResult) const;
    TBlock BlockAt(int AOrder) const;
    TAuditAmounts HiddenOf(int AOrder) const;
    void ExplainHidden(const QString& AMid, double AHidden, TAuditResult& AResult) const;
    void CheckBlock(int AOrder, TAuditResult& AResult) const;
    void ExplainGrandAgainstBlocks(TAuditResult& AResult) const;

    bool FGrandListed = false;
    TAuditAmounts FGrand;
    std::map<int, TBlock> FBlocks;
    std::map<QString, TCounted> FCounted;
    bool FDroppedCounted = false;
    std::map<QString, TDropped> FDropped;
};
