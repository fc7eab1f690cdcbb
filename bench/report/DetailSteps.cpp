#include "DetailSteps.h"

#include "BenchSupport.h"
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "report/tables/AuditTotals.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/DetailQuery.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/TDetailAudit.h"

#include <QDir>
#include <cstdio>
#include <vector>

namespace {

struct TRow {
    int Order;
    TDetailRowText Text;
    TDetailRowAmounts Amounts;
};

std::vector<TRow> QueryRows(const QString& ASql) {
    std::vector<TRow> Rows;
    IARQueryPtr Result;
    OpenDefQuery(ASql, Result);
    TARQuery& All = *Result->GetQuery();
    const TDetailRowReader Reader(All);
    for (All.First(); !All.Eof(); All.Next()) {
        TRow Row;
        Reader.Read(Row.Text, Row.Amounts);
        Row.Order = Reader.Order();
        Rows.push_back(Row);
    }
    return Rows;
}

// The audit's own work within the fill: adding up the rows (read here
// beforehand, as the fill reads them anyway), the counting query when the
// rows leave a difference to explain, and the checks. Once as the fill runs
// it, once as if every table needed the count (the dearest case).
void BenchAudit(const TReportContext& AContext, const TDetailQueryParts& AParts,
                const std::vector<TRow>& ARows, double AFill, double AQuery) {
    for (const bool AlwaysCount : {false, true}) {
        bool Counted = false;
        const double Time = BestOfThree([&] {
            TDetailAudit Audit(AContext.Filter.UnitPrefix, AParts);
            for (const TRow& Row : ARows)
                Audit.AddRow(Row.Order, Row.Text, Row.Amounts);
            QString Error;
            Counted = AlwaysCount || Audit.NeedsCount();
            if (Counted)
                CountDetailTotals(Audit, AContext.Filter, "11", Error);
            Audit.Finish();
        });
        Report(AlwaysCount ? "  audit with its count" : "  of which the audit", Time,
               int(ARows.size()), AQuery);
        std::printf("%-32s %8.1f %% of the fill%s\n", "    share", 100.0 * Time / AFill,
                    Counted ? " (counting query run)" : " (no count needed)");
    }
}

} // namespace

void BenchDetailSteps(const QString& AOutFolder) {
    TReportFilter Filter;
    Filter.BTypeIndex = QStringLiteral("1");
    Filter.UnitPrefix = QStringLiteral("1"); // every department of the province
    Filter.UnitName = QStringLiteral("全省");
    const TReportContext Context = MakeReportContext(Filter, QStringLiteral("预算数"), "11");
    const TDetailQueryParts Parts{"11", !Context.ParentHasFewUnits, DetailLevelRange("1")};
    const QString Sql = BuildDetailSql(Context.Filter, Parts, DefDialect());
    std::vector<TRow> Rows;
    const double Query = BestOfThree([&] { Rows = QueryRows(Sql); });
    const int Count = int(Rows.size());
    std::printf("detail table of fund 11, levels %d-%d: %d query rows\n", Parts.Levels.First,
                Parts.Levels.Last, Count);
    Report("query alone (baseline)", Query, Count, Query);
    TCellDocument Grid;
    const double Fill = BestOfThree([&] { FillDetailTable(Grid, Context, "11", true); });
    Report("FillDetailTable", Fill, Count, Query);
    BenchAudit(Context, Parts, Rows, Fill, Query);
    Report("export .xlsx",
           Seconds([&] { Grid.ExportExcel(QDir(AOutFolder).filePath("detail11.xlsx")); }), Count,
           Query);
    Report("PDF", Seconds([&] { Grid.PrintToPdf(QDir(AOutFolder).filePath("detail11.pdf")); }),
           Count, Query);
    std::printf("peak memory so far: %ld MB\n", PeakMemoryMb());
}
