#include "DetailSteps.h"

#include "BenchSupport.h"
#include "WorkbookAlone.h"
#include "cell/TCellDocument.h"
#include "cell/TCellDrawnText.h"
#include "cell/TCellOutputFile.h"
#include "cell/TCellPdfMend.h"
#include "cell/TCellPrinter.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "report/tables/AuditTotals.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/DetailQuery.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/TDetailAudit.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <algorithm>
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
            if (Audit.NeedsDropped())
                CountDetailDropped(Audit, AContext.Filter, "11", Error);
            Audit.Finish();
        });
        Report(AlwaysCount ? "  audit with its count" : "  of which the audit", Time,
               int(ARows.size()), AQuery);
        std::printf("%-32s %8.1f %% of the fill%s\n", "    share", 100.0 * Time / AFill,
                    Counted ? " (counting query run)" : " (no count needed)");
    }
}

// Pages of ASheet into APdf; ADrawn notes what the mend needs.
bool RenderPdf(const TCellSheet& ASheet, QIODevice& APdf, TCellDrawnText* ADrawn) {
    QPdfWriter Writer(&APdf);
    Writer.setResolution(600);
    Writer.setPageLayout(ASheet.Page().Layout());
    return TCellPrinter(ASheet).Render(Writer, ADrawn);
}

// The sheet with its text shaped, as the PDFs were made before the mend of
// their text layer.
TCellSheet Shaped(const TCellSheet& ASheet) {
    TCellSheet Result = ASheet;
    for (int Index = 0; Index < Result.FontCount(); ++Index) {
        QFont Font = Result.Font(Index);
        Font.setStyleStrategy(QFont::PreferDefault);
        Result.SetFont(Index, Font);
    }
    return Result;
}

// The pages in memory first, then onto the disk whole, as PrintToPdf does,
// but neither noted nor rewritten.
void WriteAsBefore(const TCellSheet& ASheet, const QString& AFile) {
    QByteArray Pdf;
    QBuffer Buffer(&Pdf);
    Buffer.open(QIODevice::WriteOnly);
    RenderPdf(ASheet, Buffer, nullptr);
    TCellOutputFile Output(AFile);
    if (Output.Open() && Output.Write(Pdf))
        Output.Commit();
}

// The PDF as made before the mend of its text layer (shaped, in one piece,
// nothing noted or rewritten) against the PDF as made now; then the rewrite
// of the text maps alone.
void BenchPdfMend(TCellDocument& AGrid, const QString& AFile, int ARows, double AQuery,
                  double ANow) {
    const TCellSheet Before = Shaped(AGrid.Sheet());
    const double Old = std::min(Seconds([&] { WriteAsBefore(Before, AFile + ".before.pdf"); }),
                                Seconds([&] { WriteAsBefore(Before, AFile + ".before.pdf"); }));
    const double Now = ANow;
    Report("PDF as before (one piece)", Old, ARows, AQuery);
    QByteArray Pdf;
    QBuffer Buffer(&Pdf);
    Buffer.open(QIODevice::WriteOnly);
    TCellDrawnText Drawn;
    RenderPdf(AGrid.Sheet(), Buffer, &Drawn);
    Buffer.close();
    const double Rewrite =
        Seconds([&] { TCellPdfMend(Drawn, QStringLiteral("subject")).Apply(Pdf); });
    // The PDF of now is also made in two halves with each text laid out once,
    // so the difference is not the mend's alone; the rewrite is.
    std::printf("the PDF now takes %.2f x its time before (the text-map rewrite %.1f %% of it)\n",
                Now / Old, 100 * Rewrite / Now);
}

// The workbook against libxlsxwriter writing the same cells alone, each the
// better of two runs taken in turn: the library's XML and deflate are the
// workbook's time, the export's own part is what the ratio shows above 1.
void BenchWorkbook(TCellDocument& AGrid, const QString& AOutFolder, int ARows, double AQuery) {
    double Export = 1e9, Alone = 1e9;
    const QString AloneFile = QDir(AOutFolder).filePath("detail11-alone.xlsx");
    for (int Run = 0; Run < 2; ++Run) {
        Export = std::min(Export, Seconds([&] {
                              AGrid.ExportExcel(QDir(AOutFolder).filePath("detail11.xlsx"));
                          }));
        Alone = std::min(Alone, WriteCellsAlone(AGrid.Sheet(), AloneFile) + SyncFile(AloneFile));
    }
    Report("export .xlsx", Export, ARows, AQuery);
    Report("  libxlsxwriter alone, same cells", Alone, ARows, AQuery);
    std::printf("%-32s %8.2f x libxlsxwriter alone (goal: at most 1.10; both files synced)\n",
                "  the workbook", Export / Alone);
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
    int Count = 0;
    const double Query = BestOfThree([&] {
        IARQueryPtr Result;
        OpenDefQuery(Sql, Result);
        Count = Result ? Result->GetQuery()->RecordCount() : 0;
    });
    std::printf("detail table of fund 11, levels %d-%d: %d query rows\n", Parts.Levels.First,
                Parts.Levels.Last, Count);
    Report("query alone (baseline)", Query, Count, Query);
    TCellDocument Grid;
    TFillResult Filled;
    const double Fill = BestOfThree([&] { Filled = FillDetailTable(Grid, Context, "11", true); });
    Report("FillDetailTable", Fill, Count, Query);
    // The printed totals read back from the grid's cells.
    const double Printed = BestOfThree([&] {
        TAuditResult Audit;
        Filled.Printed->Check(Grid, Audit);
    });
    Report("  of which the printed check", Printed, Count, Query);
    std::printf("%-32s %8.1f %% of the fill\n", "    share", 100.0 * Printed / Fill);
    const QString Pdf = QDir(AOutFolder).filePath("detail11.pdf");
    BenchWorkbook(Grid, AOutFolder, Count, Query);
    const double Now =
        std::min(Seconds([&] { Grid.PrintToPdf(Pdf); }), Seconds([&] { Grid.PrintToPdf(Pdf); }));
    Report("PDF", Now, Count, Query);
    // The peak of a table's own work, before the measurements below keep
    // copies of their own.
    std::printf("peak memory of query, fill, workbook and PDF: %ld MB\n", PeakMemoryMb());
    BenchAudit(Context, Parts, QueryRows(Sql), Fill, Query);
    BenchPdfMend(Grid, Pdf, Count, Query, Now);
}
