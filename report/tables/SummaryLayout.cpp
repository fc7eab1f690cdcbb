#include "SummaryLayout.h"

#include "AuditTotals.h"
#include "ReportCodes.h"
#include "ReportLookups.h"
#include "SummaryQuery.h"
#include "TPrintedTotals.h"
#include "TReportContext.h"
#include "TReportProgress.h"
#include "TSummaryAudit.h"
#include "TTableRows.h"
#include "TemplateFit.h"
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"

namespace {

constexpr int Columns = 12;
const QString SpecialAccountTotal = QStringLiteral("财政专户管理资金合计");

// The amount columns as the printed audit reads them, under the template's
// headings.
std::vector<TPrintedTotals::TColumn> PrintedColumns() {
    return {{6, QStringLiteral("预算数")},
            {7, QStringLiteral("基本支出直接支付")},
            {8, QStringLiteral("基本支出授权支付")},
            {9, QStringLiteral("项目支出直接支付")},
            {10, QStringLiteral("项目支出授权支付")},
            {11, QStringLiteral("其他支出直接支付")},
            {12, QStringLiteral("其他支出授权支付")}};
}

class TSummaryFill {
public:
    TSummaryFill(TCellDocument& AGrid, const TReportContext& AContext, bool ANumbersAsValues)
        : G(AGrid)
        , C(AContext)
        , FRows(AGrid, ANumbersAsValues)
        , FPrinted(PrintedColumns(), ANumbersAsValues) {}

    // Empty text, or why the template cannot hold the table.
    QString Heading();
    // A query row of block AOrder (0 the grand total).
    void Row(const TSummaryRowText& AText, const TSummaryRowAmounts& AAmounts, int AOrder);
    void Close();
    const TPrintedTotals& Printed() const { return FPrinted; }

private:
    void SubjectCells(int ARow, const TSummaryRowText& AText);
    void ChannelCells(int ARow, const TSummaryRowAmounts& AAmounts);
    int AmountCells(int ARow, const TSummaryRowText& AText, const TSummaryRowAmounts& AAmounts,
                    int AOrder);
    int SplitRow(int ARow, const TSummaryRowText& AText, const TSummaryRowAmounts& AAmounts,
                 const TFormerChannelParts& AParts);
    void Print(int ARow, const TSummaryRowText& AText, const TSummaryRowAmounts& AAmounts,
               int AOrder, const TFormerChannelParts* ASplit);
    void NoteRow(const QString& AText, std::initializer_list<int> AEdges);

    TCellDocument& G;
    const TReportContext& C;
    TTableRows FRows;
    QString FPreviousMid;
    int FSpecialAccountTotalRow = 0;
    bool FBasicSeen = false;
    bool FProjectSeen = false;
    TPrintedTotals FPrinted;
};

QString TSummaryFill::Heading() {
    const QString Error = LoadTableTemplate(
        G, C.TemplateFolder + QString::fromUtf8(SummaryTemplateFile), TTableKind::Summary);
    if (!Error.isEmpty())
        return Error;
    G.PutText(1, 1, 0, C.Titles.Summary);
    G.PutText(6, 2, 0, C.Titles.Basis);
    G.PutText(1, 2, 0, C.UnitWord + QStringLiteral("预算码：") + C.Filter.UnitPrefix);
    G.PutText(2, 3, 0, QString::number(C.Filter.Year) + QStringLiteral("年预算构成"));
    return QString();
}

void TSummaryFill::SubjectCells(int ARow, const TSummaryRowText& AText) {
    G.PutText(2, ARow, 0, AText.lei);
    G.PutText(3, ARow, 0, AText.kuan);
    G.PutText(4, ARow, 0, AText.xiang);
    G.PutText(5, ARow, 0, AText.bname);
}

void TSummaryFill::ChannelCells(int ARow, const TSummaryRowAmounts& AAmounts) {
    const double Amounts[] = {AAmounts.jbzj, AAmounts.jbsq,   AAmounts.xmzj,
                              AAmounts.xmsq, AAmounts.gyqtzj, AAmounts.gyqtsq};
    for (int K = 0; K < 6; ++K)
        FRows.Amounts().WriteIfPresent(7 + K, ARow, Amounts[K]);
}

// Only detail rows of fund natures 11 and 21 are split; the basic and
// project parts note their former channel across columns 7-8 and 9-10.
int TSummaryFill::SplitRow(int ARow, const TSummaryRowText& AText,
                           const TSummaryRowAmounts& AAmounts, const TFormerChannelParts& AParts) {
    return FRows.SplitFormerChannel(
        ARow, 6, 7, AParts, [&](int ARow2) { SubjectCells(ARow2, AText); },
        [&](int ARow2) { ChannelCells(ARow2, AAmounts); }, FBasicSeen, FProjectSeen);
}

// What the printed audit is told of a row: its block and what it is.
void TSummaryFill::Print(int ARow, const TSummaryRowText& AText, const TSummaryRowAmounts& AAmounts,
                         int AOrder, const TFormerChannelParts* ASplit) {
    const TPrintedTotals::TAmounts Amounts = {AAmounts.summ,  AAmounts.jbzj, AAmounts.jbsq,
                                              AAmounts.xmzj,  AAmounts.xmsq, AAmounts.gyqtzj,
                                              AAmounts.gyqtsq};
    if (AOrder == 0)
        FPrinted.Grand(C.Filter.UnitName + C.UnitWord + QStringLiteral("合计"), ARow, Amounts);
    else if (AText.mid.isEmpty())
        FPrinted.Total(AOrder, AText.mname, ARow, Amounts);
    else
        FPrinted.Listed(AOrder, ARow, Amounts, ASplit);
}

// Columns 6 to 12 of a row: plain, or split where amounts keep their
// former channel.
int TSummaryFill::AmountCells(int ARow, const TSummaryRowText& AText,
                              const TSummaryRowAmounts& AAmounts, int AOrder) {
    FRows.Amounts().Write(6, ARow, AAmounts.summ);
    const bool Plain =
        AText.mid == QLatin1String("31") || AText.mid == QLatin1String("12") ||
        ARow <= FirstTableRow || AText.mname == QStringLiteral("公共财政预算合计") ||
        (!TAmountCells::Present(AAmounts.jbsb) && !TAmountCells::Present(AAmounts.xmsb));
    const TFormerChannelParts Parts{
        AAmounts.summ, AAmounts.jbsb, AAmounts.xmsb,
        TAmountCells::Present(AAmounts.jbzj) || TAmountCells::Present(AAmounts.jbsq) ||
            TAmountCells::Present(AAmounts.xmzj) || TAmountCells::Present(AAmounts.xmsq)};
    Print(ARow, AText, AAmounts, AOrder, Plain ? nullptr : &Parts);
    if (!Plain)
        return SplitRow(ARow, AText, AAmounts, Parts);
    ChannelCells(ARow, AAmounts);
    return ARow;
}

void TSummaryFill::Row(const TSummaryRowText& AText, const TSummaryRowAmounts& AAmounts,
                       int AOrder) {
    int Row = FRows.AppendRow();
    // The label stands on every total row and on the first detail row of
    // each fund nature.
    if (AText.mid != FPreviousMid || AText.mid.isEmpty()) {
        FPreviousMid = AText.mid;
        G.PutText(1, Row, 0, AText.mname);
        G.PutAlign(1, Row, 0, AlignLabel);
        if (AText.mname == SpecialAccountTotal)
            FSpecialAccountTotalRow = Row;
    }
    SubjectCells(Row, AText);
    Row = AmountCells(Row, AText, AAmounts, AOrder);
    const bool TotalRow = AText.mid.isEmpty() && AText.lei.isEmpty();
    FRows.CloseRow(Row, Columns, TotalRow ? StyleTotal : StyleOrdinary);
}

void TSummaryFill::NoteRow(const QString& AText, std::initializer_list<int> AEdges) {
    const int Row = FRows.AppendRow();
    G.JoinCells(1, Row, Columns, Row);
    G.PutText(1, Row, 0, AText);
    for (int Col = 1; Col <= Columns; ++Col) {
        for (int Edge : AEdges)
            G.PutBorder(Col, Row, 0, Edge, 1);
    }
}

void TSummaryFill::Close() {
    // The special-account total carries the note for every kind of former
    // channel amount that a split row had, whichever fund nature it was.
    if (FSpecialAccountTotalRow != 0) {
        if (FBasicSeen)
            FRows.Note(7, FSpecialAccountTotalRow);
        if (FProjectSeen)
            FRows.Note(9, FSpecialAccountTotalRow);
    }
    G.PutText(1, FirstTableRow, 0, C.Filter.UnitName + C.UnitWord + QStringLiteral("合计"));
    G.PutRowHeight(1, G.FitRowHeight(FirstTableRow), FirstTableRow, 0);
    G.PutAlign(1, FirstTableRow, 0, AlignCentred);
    NoteRow(QStringLiteral("1、填报时，按照项级科目汇总。"), {0, 2, 3});
    NoteRow(QStringLiteral("2、公共财政预算、政府性基金、财政专户管理资金分基本支出和项目支出填写；"
                           "国有资本经营预算分资本性支出、费用性支出和其他支出填写。"),
            {0, 1, 2, 3});
    G.FinishTable(7, 1, 0);
    G.MarkLastRows(G.GetRowCount(0) - 2, G.GetRowCount(0) - 1);
}

} // namespace

TFillResult FillSummaryTable(TCellDocument& AGrid, const TReportContext& AContext,
                             bool ANumbersAsValues, TReportProgress* AProgress) {
    TSummaryFill Fill(AGrid, AContext, ANumbersAsValues);
    TFillResult Result;
    Result.TemplateError = Fill.Heading();
    if (Result.Failed())
        return Result;
    IARQueryPtr Query;
    if (!OpenDefQuery(BuildSummarySql(AContext.Filter, DefDialect()), Query, Result.QueryError))
        return Result;
    TARQuery& Rows = *Query->GetQuery();
    // Each row is let go once laid out: a long table is not held twice.
    Rows.SetForwardOnly(true);
    Result.QueryRows = Rows.RecordCount();
    const bool Listed = Rows.RecordCount() > 1;
    TSummaryAudit Audit;
    {
        TProgressScope Progress(Listed ? AProgress : nullptr, Rows.RecordCount());
        const TSummaryRowReader Reader(Rows);
        TSummaryRowText Text;
        TSummaryRowAmounts Amounts;
        for (Rows.First(); !Rows.Eof(); Rows.Next()) {
            Progress.Step();
            Reader.Read(Text, Amounts);
            Audit.AddRow(Reader.Order(), Text, Amounts);
            if (!Amounts.Finite())
                Result.NotFiniteRows << (Text.mname + QLatin1Char('/') + Text.bname);
            if (Listed)
                Fill.Row(Text, Amounts, Reader.Order());
        }
    }
    if (Listed)
        Fill.Close();
    Query.Clear();
    if (!CountSummaryTotals(Audit, AContext.Filter, Result.QueryError))
        return Result;
    if (Audit.NeedsDropped() && !CountSummaryDropped(Audit, AContext.Filter, Result.QueryError))
        return Result;
    Result.FinishAudit(Audit.Finish(), AGrid, Listed ? &Fill.Printed() : nullptr);
    for (const char* Fund : {"11", "12", "21", "31"})
        Result.BlockTotals[QString::fromLatin1(Fund)] = Audit.BlockTotal(QString::fromLatin1(Fund));
    return Result;
}
