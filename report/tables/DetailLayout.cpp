#include "DetailLayout.h"

#include "AuditTotals.h"
#include "DetailQuery.h"
#include "ReportCodes.h"
#include "ReportLookups.h"
#include "TDetailAudit.h"
#include "TMarkedUnits.h"
#include "TPrintedTotals.h"
#include "TReportContext.h"
#include "TReportProgress.h"
#include "TTableRows.h"
#include "TemplateFit.h"
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"

namespace {

const QString StateCapital = QStringLiteral("31");

// The amount columns as the printed audit reads them: the row's total, then
// the channel columns (state capital: its three kinds of expenditure).
std::vector<TPrintedTotals::TColumn> PrintedColumns(const QString& AFundCode) {
    if (AFundCode == StateCapital)
        return {{10, QStringLiteral("预算数")},
                {11, QStringLiteral("资本性支出")},
                {13, QStringLiteral("费用性支出")},
                {15, QStringLiteral("其他支出")}};
    return {{10, QStringLiteral("预算数")},
            {11, QStringLiteral("基本支出直接支付")},
            {12, QStringLiteral("基本支出授权支付")},
            {13, QStringLiteral("项目支出直接支付")},
            {14, QStringLiteral("项目支出授权支付")}};
}

TPrintedTotals::TAmounts PrintedAmounts(const QString& AFundCode, const TDetailRowAmounts& A) {
    if (AFundCode == StateCapital)
        return {A.summ, A.gyzb, A.gyfy, A.gyqt};
    return {A.summ, A.jbzj, A.jbsq, A.xmzj, A.xmsq};
}

class TDetailFill {
public:
    TDetailFill(TCellDocument& AGrid, const TReportContext& AContext, const QString& AFundCode,
                bool ANumbersAsValues)
        : G(AGrid)
        , C(AContext)
        , FFundCode(AFundCode)
        , FRows(AGrid, ANumbersAsValues)
        , FPrinted(PrintedColumns(AFundCode), ANumbersAsValues) {}

    // Empty text, or why the template cannot hold the table.
    QString Heading();
    // A query row of block AOrder; AGrand for the grand total.
    void Row(const TDetailRowText& AText, const TDetailRowAmounts& AAmounts, int AOrder,
             bool AGrand);
    void Close();
    const TPrintedTotals& Printed() const { return FPrinted; }

private:
    void UnitCells(int ARow, const TDetailRowText& AText);
    void SubjectCells(int ARow, const TDetailRowText& AText);
    void ChannelCells(int ARow, const TDetailRowAmounts& AAmounts);
    int FormerChannelRows(int ARow, const TDetailRowText& AText, const TDetailRowAmounts& AAmounts,
                          const TFormerChannelParts& AParts);
    int ChannelRows(int ARow, const TDetailRowText& AText, const TDetailRowAmounts& AAmounts,
                    int AOrder, bool AGrand);
    void Print(int ARow, const TDetailRowText& AText, const TDetailRowAmounts& AAmounts, int AOrder,
               bool AGrand, const TFormerChannelParts* ASplit);
    void StateCapitalCells(int ARow, const TDetailRowText& AText,
                           const TDetailRowAmounts& AAmounts);

    TCellDocument& G;
    const TReportContext& C;
    const QString FFundCode;
    TTableRows FRows;
    int FRunningNumber = 1;
    QString FLastEid;
    bool FBasicSeen = false;
    bool FProjectSeen = false;
    const TMarkedUnits FSpecialAccounts;
    TPrintedTotals FPrinted;
};

QString TDetailFill::Heading() {
    const QString Error = LoadTableTemplate(G, C.TemplateFolder + DetailTemplateFor(FFundCode),
                                            TableKindOf(FFundCode));
    if (!Error.isEmpty())
        return Error;
    G.PutText(1, 1, 0, C.Titles.Detail);
    G.PutText(4, 2, 0, C.Titles.Basis);
    G.PutText(4, 3, 0, QString::number(C.Filter.Year) + QStringLiteral("年预算构成"));
    return QString();
}

// Number, code and name stand on a unit's first row only; a total row
// always gets its (empty) code and its label.
void TDetailFill::UnitCells(int ARow, const TDetailRowText& AText) {
    if (AText.eid == FLastEid && !AText.eid.isEmpty())
        return;
    FLastEid = AText.eid;
    QString Mark;
    if (!AText.eid.isEmpty()) {
        G.PutText(1, ARow, 0, QString::number(FRunningNumber++));
        if (FSpecialAccounts.Contains(AText.eid))
            Mark = QStringLiteral("*");
    }
    G.PutText(2, ARow, 0, AText.eid);
    G.PutText(3, ARow, 0, Mark + AText.ename);
}

void TDetailFill::SubjectCells(int ARow, const TDetailRowText& AText) {
    G.PutText(4, ARow, 0, AText.lei);
    G.PutText(5, ARow, 0, AText.kuan);
    G.PutText(6, ARow, 0, AText.xiang);
    G.PutText(7, ARow, 0, AText.bname);
}

void TDetailFill::ChannelCells(int ARow, const TDetailRowAmounts& AAmounts) {
    const double Amounts[] = {AAmounts.jbzj, AAmounts.jbsq, AAmounts.xmzj, AAmounts.xmsq};
    for (int K = 0; K < 4; ++K)
        FRows.Amounts().WriteIfPresent(11 + K, ARow, Amounts[K]);
}

// A department's row with amounts that keep their former channel, noted
// across columns 11-12 (basic) and 13-14 (project). Its treasury-channel
// amounts get a row of their own, so that no amount of the row is left out
// of the table.
int TDetailFill::FormerChannelRows(int ARow, const TDetailRowText& AText,
                                   const TDetailRowAmounts& AAmounts,
                                   const TFormerChannelParts& AParts) {
    return FRows.SplitFormerChannel(
        ARow, 10, 11, AParts, [&](int ARow2) { SubjectCells(ARow2, AText); },
        [&](int ARow2) { ChannelCells(ARow2, AAmounts); }, FBasicSeen, FProjectSeen);
}

void TDetailFill::StateCapitalCells(int ARow, const TDetailRowText& AText,
                                    const TDetailRowAmounts& AAmounts) {
    const double Amounts[] = {AAmounts.gyzb, AAmounts.gyfy, AAmounts.gyqt};
    for (int K = 0; K < 3; ++K)
        FRows.Amounts().WriteIfPresent(11 + 2 * K, ARow, Amounts[K]);
    for (int Col = 1; Col <= 16; ++Col)
        G.PutStyle(Col, ARow, 0, AText.eid.isEmpty() ? StyleTotal : StyleOrdinary);
}

// What the printed audit is told of a row: its block and what it is.
void TDetailFill::Print(int ARow, const TDetailRowText& AText, const TDetailRowAmounts& AAmounts,
                        int AOrder, bool AGrand, const TFormerChannelParts* ASplit) {
    const TPrintedTotals::TAmounts Amounts = PrintedAmounts(FFundCode, AAmounts);
    if (AGrand)
        FPrinted.Grand(AText.ename, ARow, Amounts);
    else if (AText.eid.isEmpty())
        FPrinted.Total(AOrder, AText.ename, ARow, Amounts);
    else
        FPrinted.Listed(AOrder, ARow, Amounts, ASplit);
}

// The channel columns of a row other than state capital's: plain, or for a
// department's row with former-channel amounts split into its parts.
int TDetailFill::ChannelRows(int ARow, const TDetailRowText& AText,
                             const TDetailRowAmounts& AAmounts, int AOrder, bool AGrand) {
    const bool Split =
        C.DepartmentUser && ARow > FirstTableRow &&
        (TAmountCells::Present(AAmounts.jbsb) || TAmountCells::Present(AAmounts.xmsb));
    const TFormerChannelParts Parts{
        AAmounts.summ, AAmounts.jbsb, AAmounts.xmsb,
        TAmountCells::Present(AAmounts.jbzj) || TAmountCells::Present(AAmounts.jbsq) ||
            TAmountCells::Present(AAmounts.xmzj) || TAmountCells::Present(AAmounts.xmsq)};
    Print(ARow, AText, AAmounts, AOrder, AGrand, Split ? &Parts : nullptr);
    if (!Split) {
        ChannelCells(ARow, AAmounts);
        return ARow;
    }
    return FormerChannelRows(ARow, AText, AAmounts, Parts);
}

void TDetailFill::Row(const TDetailRowText& AText, const TDetailRowAmounts& AAmounts, int AOrder,
                      bool AGrand) {
    int Row = FRows.AppendRow();
    UnitCells(Row, AText);
    SubjectCells(Row, AText);
    G.PutText(8, Row, 0, AText.iid);
    G.PutText(9, Row, 0, AText.iname);
    FRows.Amounts().Write(10, Row, AAmounts.summ);
    if (FFundCode != StateCapital) {
        Row = ChannelRows(Row, AText, AAmounts, AOrder, AGrand);
    } else {
        Print(Row, AText, AAmounts, AOrder, AGrand, nullptr);
        StateCapitalCells(Row, AText, AAmounts);
    }
    const bool TotalRow = AText.eid.isEmpty();
    for (int Col = 1; Col <= 14; ++Col)
        G.PutStyle(Col, Row, 0, TotalRow ? StyleTotal : StyleOrdinary);
    G.PutAlign(3, Row, 0, TotalRow ? AlignCentred : AlignName);
    G.PutRowHeight(1, G.FitRowHeight(Row), Row, 0);
}

void TDetailFill::Close() {
    // Special-account funds carry the note on the two top rows for every
    // kind of former channel amount the table had.
    if (FFundCode == QLatin1String("21")) {
        if (FBasicSeen) {
            FRows.Note(11, FirstTableRow);
            FRows.Note(11, FirstTableRow + 1);
        }
        if (FProjectSeen) {
            FRows.Note(13, FirstTableRow);
            FRows.Note(13, FirstTableRow + 1);
        }
    }
    G.FinishTable(7, 1, 0);
}

} // namespace

QString DetailTemplateFor(const QString& AFundCode) {
    return QString::fromUtf8(AFundCode == StateCapital ? StateCapitalTemplateFile
                                                       : DetailTemplateFile);
}

TFillResult FillDetailTable(TCellDocument& AGrid, const TReportContext& AContext,
                            const QString& AFundCode, bool ANumbersAsValues,
                            TReportProgress* AProgress) {
    TDetailFill Fill(AGrid, AContext, AFundCode, ANumbersAsValues);
    TFillResult Result;
    Result.TemplateError = Fill.Heading();
    if (Result.Failed())
        return Result;
    TDetailQueryParts Parts;
    Parts.FundCode = AFundCode;
    Parts.WithGrandTotal = !AContext.ParentHasFewUnits;
    Parts.Levels = DetailLevelRange(AContext.Filter.UnitPrefix);
    IARQueryPtr Query;
    if (!OpenDefQuery(BuildDetailSql(AContext.Filter, Parts, DefDialect()), Query,
                      Result.QueryError))
        return Result;
    TARQuery& Rows = *Query->GetQuery();
    // Each row is let go once laid out: a long table is not held twice.
    Rows.SetForwardOnly(true);
    Result.QueryRows = Rows.RecordCount();
    // A lone row is the grand total without any row under it: nothing to
    // list, but still counted by the audit.
    const bool Listed = Rows.RecordCount() > 1;
    TDetailAudit Audit(AContext.Filter.UnitPrefix, Parts);
    {
        TProgressScope Progress(Listed ? AProgress : nullptr, Rows.RecordCount());
        const TDetailRowReader Reader(Rows);
        TDetailRowText Text;
        TDetailRowAmounts Amounts;
        for (Rows.First(); !Rows.Eof(); Rows.Next()) {
            Progress.Step();
            Reader.Read(Text, Amounts);
            Audit.AddRow(Reader.Order(), Text, Amounts);
            if (!Amounts.Finite())
                Result.NotFiniteRows
                    << (Text.eid + QLatin1Char('/') + Text.bname + QLatin1Char('/') + Text.iname);
            if (Listed)
                Fill.Row(Text, Amounts, Reader.Order(), Audit.IsGrandTotal(Reader.Order(), Text));
        }
    }
    if (Listed)
        Fill.Close();
    Query.Clear();
    if (Audit.NeedsCount() &&
        !CountDetailTotals(Audit, AContext.Filter, AFundCode, Result.QueryError))
        return Result;
    if (Audit.NeedsDropped() &&
        !CountDetailDropped(Audit, AContext.Filter, AFundCode, Result.QueryError))
        return Result;
    Result.FinishAudit(Audit.Finish(), AGrid, Listed ? &Fill.Printed() : nullptr);
    Result.GrandTotal = Audit.GrandTotal();
    return Result;
}
