#include "WorksheetFit.h"

#include "DetailQuery.h"
#include "ReportCodes.h"
#include "ReportLookups.h"
#include "SummaryQuery.h"
#include "TQueryColumns.h"
#include "TReportContext.h"
#include "db/SharedLookups.h"
#include "db/SqlLiteral.h"
#include "db/TARQuery.h"
#include "platform/data/TSqlDialect.h"

#include <algorithm>

namespace {

// Every template ends at this row; the table's rows follow.
constexpr qint64 HeadingRows = FirstTableRow - 1;
// A query row with amounts kept in their former channel becomes up to three
// grid rows: its basic part, its project part and the rest
// (TTableRows::SplitFormerChannel).
constexpr qint64 MostGridRowsOfOne = 3;
// The summary closes with two rows of notes.
constexpr qint64 SummaryNotes = 2;

QString When(const TSqlDialect& D, const QString& ACondition, const QString& AThen,
             const QString& AElse) {
    if (D.Kind() == TSqlKind::Access)
        return QStringLiteral("IIF(") + ACondition + QLatin1Char(',') + AThen + QLatin1Char(',') +
               AElse + QLatin1Char(')');
    return QStringLiteral("CASE WHEN ") + ACondition + QStringLiteral(" THEN ") + AThen +
           QStringLiteral(" ELSE ") + AElse + QStringLiteral(" END");
}

// Whether any of the columns (each, joined with " and ") holds an amount
// that counts as present, as TAmountCells::Present has it.
QString AnyPresent(const QStringList& AColumns, const char* AJoin) {
    QStringList Parts;
    for (const QString& Column : AColumns)
        Parts << Column + QStringLiteral(">0.001");
    return QLatin1Char('(') + Parts.join(QLatin1String(AJoin)) + QLatin1Char(')');
}

// The grid rows a detail row takes beyond its first when it is split: one
// more when it keeps both a basic and a project part in the former channel,
// one more when something of it goes through the treasury channels.
QString SplitRows(const TSqlDialect& D) {
    const QString Former = AnyPresent({QStringLiteral("jbsb"), QStringLiteral("xmsb")}, " or ");
    const QString Both = AnyPresent({QStringLiteral("jbsb"), QStringLiteral("xmsb")}, " and ");
    const QString Treasury = AnyPresent({QStringLiteral("jbzj"), QStringLiteral("jbsq"),
                                         QStringLiteral("xmzj"), QStringLiteral("xmsq")},
                                        " or ");
    const QString One = QStringLiteral("1"), None = QStringLiteral("0");
    return When(D, Former,
                QLatin1Char('(') + When(D, Both, One, None) + QLatin1Char('+') +
                    When(D, Treasury, One, None) + QLatin1Char(')'),
                None);
}

// A table's query as a derived table: without its order, which SQL Server
// does not take there.
QString Unordered(const QString& ASql) {
    const qsizetype Order = ASql.lastIndexOf(QStringLiteral(" order by "));
    return Order < 0 ? ASql : ASql.left(Order);
}

// Opens a counting query, which gives one row.
bool OpenCount(const QString& ASql, IARQueryPtr& AQuery, QString& AError) {
    if (!OpenDefQuery(ASql, AQuery, AError))
        return false;
    if (!AQuery->GetQuery()->Eof())
        return true;
    AError = QStringLiteral("计数查询没有返回结果：%1").arg(ASql);
    return false;
}

// What the cheap count reads: the adjustments under the table's filter,
// those kept in their former channel, and those of the prefix's own code.
struct TAdjustments {
    qint64 All = 0;
    qint64 Former = 0;
    qint64 Own = 0;
};

class TFitCheck {
public:
    TFitCheck(const TReportContext& AContext, const QString& AFundCode, int ARowLimit);
    TWorksheetFit Run();

private:
    bool CountAdjustments(TAdjustments& AAdjustments);
    qint64 Bound(const TAdjustments& AAdjustments) const;
    void CountDetail();
    void CountSummary();

    const TReportContext& C;
    const QString FFundCode;
    const TSqlDialect& D = DefDialect();
    const bool FSummary;
    // Whether the layout splits rows with former-channel amounts: the
    // detail table's for a department user, except state capital's.
    const bool FSplits;
    TDetailQueryParts FParts;
    TWorksheetFit FFit;
};

TFitCheck::TFitCheck(const TReportContext& AContext, const QString& AFundCode, int ARowLimit)
    : C(AContext)
    , FFundCode(AFundCode)
    , FSummary(AFundCode.isEmpty())
    , FSplits(!FSummary && AContext.DepartmentUser && AFundCode != QLatin1String("31")) {
    FFit.Limit = ARowLimit;
    if (!FSummary) {
        FParts.FundCode = AFundCode;
        FParts.WithGrandTotal = !AContext.ParentHasFewUnits;
        FParts.Levels = DetailLevelRange(AContext.Filter.UnitPrefix);
    }
}

bool TFitCheck::CountAdjustments(TAdjustments& AAdjustments) {
    IARQueryPtr Query;
    if (!OpenCount(WorksheetAdjustmentsSql(C.Filter, FFundCode, D), Query, FFit.QueryError))
        return false;
    const TQueryColumns Row(*Query->GetQuery(),
                            {QStringLiteral("n"), QStringLiteral("former"), QStringLiteral("own")});
    AAdjustments = {qint64(Row.Amount(0)), qint64(Row.Amount(1)), qint64(Row.Amount(2))};
    return true;
}

// The most grid rows below the heading from the adjustments alone. A row of
// the query is a total (the grand total, a block's) or a group of at least
// one adjustment; an adjustment falls in one block, but one of the prefix's
// own code also in level 1 when the levels run from 0. A row is split only
// when it holds an adjustment kept in the former channel (or is a total),
// and a split adds at most two rows.
qint64 TFitCheck::Bound(const TAdjustments& AAdjustments) const {
    if (FSummary) {
        constexpr qint64 Totals = 5; // the grand total and four blocks
        return AAdjustments.All + Totals + 2 * (AAdjustments.Former + Totals) + SummaryNotes;
    }
    const TLevelRange& Levels = FParts.Levels;
    const qint64 Totals = Levels.Last - Levels.First + 1 + (FParts.WithGrandTotal ? 1 : 0);
    const qint64 Twice = Levels.First <= 0 && Levels.Last >= 1 ? AAdjustments.Own : 0;
    const qint64 Splits = FSplits ? 2 * (AAdjustments.Former + Twice + Totals) : 0;
    return AAdjustments.All + Twice + Totals + Splits;
}

// The query's rows and the rows their splits add. The first row is never
// split: when it is a total row (the grand total, or a level's subtotal,
// whose former-channel columns are 0) its split is that of the total rows;
// otherwise it may have taken up to two rows less.
void TFitCheck::CountDetail() {
    const QString Sql = WorksheetDetailRowsSql(C.Filter, FParts, FSplits, D);
    IARQueryPtr Query;
    if (!OpenCount(Sql, Query, FFit.QueryError))
        return;
    const TQueryColumns Row(*Query->GetQuery(),
                            {QStringLiteral("n"), QStringLiteral("split"),
                             QStringLiteral("totalsplit"), QStringLiteral("firstorder"),
                             QStringLiteral("firsttotal")});
    const qint64 Rows = qint64(Row.Amount(0));
    const qint64 Splits = qint64(Row.Amount(1));
    // Total rows sort first in their block, but where '' is NULL (Oracle),
    // which sorts last.
    const bool FirstIsTotal =
        D.Kind() != TSqlKind::Oracle && !Row.Text(4).isEmpty() && Row.Amount(3) == Row.Amount(4);
    const qint64 FirstMost = FirstIsTotal ? qint64(Row.Amount(2)) : std::min<qint64>(2, Splits);
    const qint64 FirstLeast = FirstIsTotal ? FirstMost : 0;
    // A lone row is a total without rows under it: nothing is listed.
    const bool Listed = Rows > 1;
    FFit.AtLeast = HeadingRows + (Listed ? Rows + Splits - FirstMost : 0);
    FFit.AtMost = HeadingRows + (Listed ? Rows + Splits - FirstLeast : 0);
}

void TFitCheck::CountSummary() {
    IARQueryPtr Query;
    if (!OpenCount(WorksheetSummaryRowsSql(C.Filter, D), Query, FFit.QueryError))
        return;
    const qint64 Rows = qint64(TQueryColumns(*Query->GetQuery(), {QStringLiteral("n")}).Amount(0));
    const bool Listed = Rows > 1;
    FFit.AtLeast = HeadingRows + (Listed ? Rows + SummaryNotes : 0);
    FFit.AtMost = HeadingRows + (Listed ? MostGridRowsOfOne * Rows + SummaryNotes : 0);
}

TWorksheetFit TFitCheck::Run() {
    TAdjustments Adjustments;
    if (!CountAdjustments(Adjustments))
        return FFit;
    FFit.AtLeast = HeadingRows;
    FFit.AtMost = HeadingRows + Bound(Adjustments);
    if (FFit.AtMost <= FFit.Limit)
        return FFit;
    FFit.Counted = true;
    if (FSummary)
        CountSummary();
    else
        CountDetail();
    return FFit;
}

} // namespace

TWorksheetFit CheckWorksheetFit(const TReportContext& AContext, const QString& AFundCode,
                                int ARowLimit) {
    return TFitCheck(AContext, AFundCode, ARowLimit).Run();
}

QString WorksheetAdjustmentsSql(const TReportFilter& AFilter, const QString& AFundCode,
                                const TSqlDialect& D) {
    const QString Filter =
        AFundCode.isEmpty()
            ? AFilter.SummaryFilter(D)
            : AFilter.DetailFilter(D) + QStringLiteral(" and mid=") + QuotedSqlString(AFundCode);
    const QString Former = QStringLiteral("pid='31' and ipid in ('11','12')");
    const QString Own = QStringLiteral("eid=") + QuotedSqlString(AFilter.UnitPrefix);
    const QString One = QStringLiteral("1"), None = QStringLiteral("0");
    return QStringLiteral("select count(*) as n,sum(") + When(D, Former, One, None) +
           QStringLiteral(") as former,sum(") + When(D, Own, One, None) +
           QStringLiteral(") as own from vwbudgetadj where 1=1 ") + Filter;
}

QString WorksheetDetailRowsSql(const TReportFilter& AFilter, const TDetailQueryParts& AParts,
                               bool ASplits, const TSqlDialect& D) {
    const QString Split = ASplits ? SplitRows(D) : QStringLiteral("0");
    const QString Total = QStringLiteral("(eid is null or eid='')"); // '' is NULL on Oracle
    return QStringLiteral("select count(*) as n,sum(") + Split + QStringLiteral(") as split,sum(") +
           When(D, Total, Split, QStringLiteral("0")) +
           QStringLiteral(") as totalsplit,min(orderid) as firstorder,min(") +
           When(D, Total, QStringLiteral("orderid"), QStringLiteral("NULL")) +
           QStringLiteral(") as firsttotal from (") +
           Unordered(BuildDetailSql(AFilter, AParts, D)) + QStringLiteral(") c");
}

QString WorksheetSummaryRowsSql(const TReportFilter& AFilter, const TSqlDialect& D) {
    return QStringLiteral("select count(*) as n from (") + Unordered(BuildSummarySql(AFilter, D)) +
           QStringLiteral(") c");
}
