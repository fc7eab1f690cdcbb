// The detail table of fund nature 11 for a whole province, end to end: the
// query alone (through Qt SQL, every row fetched) as the baseline, then the
// fill, the workbook, the PDF, and a whole batch run of every table. Each
// step is reported in seconds, rows per second and against the baseline of
// the same run: the machines are noisy, ratios are what compare.
//
// The PDF is also made as Qt made it before its text layer was mended (text
// shaped, nothing noted, nothing rewritten), and the rewrite of the text
// maps is timed alone; both are told as shares of the PDF's time.
//
//   report_bench [--units N] [--rows M] [--db FILE] [--keep FOLDER]
//
// --db reuses (or makes once) a province file; --keep leaves the outputs.
#include "DemoData.h"
#include "cell/TCellDocument.h"
#include "cell/TCellDrawnText.h"
#include "cell/TCellOutputFile.h"
#include "cell/TCellPdfMend.h"
#include "cell/TCellPrinter.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "hostcontext/HostContext.h"
#include "platform/data/TDbManager.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/DetailQuery.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace {

double Seconds(const std::function<void()>& AWork) {
    QElapsedTimer Timer;
    Timer.start();
    AWork();
    return double(Timer.nsecsElapsed()) / 1e9;
}

long PeakMemoryMb() {
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return Usage.ru_maxrss / 1024;
}

// The host context a report reads: the province file as "Def", logged in
// as the first department's own-level unit.
struct TBenchHost {
    explicit TBenchHost(const QString& AFile) {
        Manager.SetLoginPrompt(false);
        Manager.SetConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + AFile);
        Params.Params = {QStringLiteral("11=") +
                         QDir(QCoreApplication::applicationDirPath()).filePath("templates/")};
        Options.DeptModeFlag = QStringLiteral("1");
        Unit.Values = {QStringLiteral("101001"), QVariant(), QVariant(), QVariant(), 1};
        Context = {2024, &Manager, &Params, nullptr, &Options, &Unit};
        HostContext = &Context;
    }
    ~TBenchHost() { HostContext = nullptr; }
    TDbManager Manager;
    TSysParams Params;
    TSysOptions Options;
    TCurUnit Unit;
    THostContext Context;
};

void Report(const char* AStep, double ASeconds, int ARows, double ABaseline) {
    std::printf("%-28s %8.2f s %10.0f rows/s   %5.2f x query\n", AStep, ASeconds, ARows / ASeconds,
                ASeconds / ABaseline);
}

// Pages of ASheet into APdf; ADrawn notes what the mend needs.
bool RenderPdf(const TCellSheet& ASheet, QIODevice& APdf, TCellDrawnText* ADrawn) {
    QPdfWriter Writer(&APdf);
    Writer.setResolution(600);
    Writer.setPageLayout(ASheet.Page().Layout());
    return TCellPrinter(ASheet).Render(Writer, ADrawn);
}

// The sheet with its text shaped, as the PDFs were made before the mend.
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

// The PDF as made now and as made before the mend, the better of two runs
// of each, taken in turn; then the rewrite of the text maps alone.
void ReportPdf(TCellDocument& AGrid, const QString& AFile, int ARows, double AQuery) {
    const TCellSheet Before = Shaped(AGrid.Sheet());
    double Now = 1e9, Old = 1e9;
    for (int Run = 0; Run < 2; ++Run) {
        Now = std::min(Now, Seconds([&] { AGrid.PrintToPdf(AFile); }));
        Old = std::min(Old, Seconds([&] { WriteAsBefore(Before, AFile + ".before.pdf"); }));
    }
    Report("PDF", Now, ARows, AQuery);
    Report("PDF as before the mend", Old, ARows, AQuery);
    QByteArray Pdf;
    QBuffer Buffer(&Pdf);
    Buffer.open(QIODevice::WriteOnly);
    TCellDrawnText Drawn;
    RenderPdf(AGrid.Sheet(), Buffer, &Drawn);
    Buffer.close();
    const double Rewrite =
        Seconds([&] { TCellPdfMend(Drawn, QStringLiteral("subject")).Apply(Pdf); });
    std::printf("the mend adds %+.1f %% of the PDF's time (the text-map rewrite alone %.1f %%)\n",
                100 * (Now - Old) / Now, 100 * Rewrite / Now);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    QCommandLineParser Parser;
    Parser.addOptions({{"units", "Units in the province.", "N", "5000"},
                       {"rows", "Adjustments in the province.", "M", "500000"},
                       {"db", "Province file to use (made when missing).", "file"},
                       {"keep", "Folder to leave the outputs in.", "folder"}});
    Parser.process(App);
    QTemporaryDir Temp;
    const QString Out = Parser.isSet("keep") ? Parser.value("keep") : Temp.path();
    QDir().mkpath(Out);
    const QString Db = Parser.isSet("db") ? Parser.value("db") : QDir(Temp.path()).filePath("p.db");
    if (!QFileInfo::exists(Db)) {
        TDemoOptions Options;
        Options.Units = Parser.value("units").toInt();
        Options.Rows = Parser.value("rows").toLongLong();
        std::printf("generating %d units, %lld adjustments: %.1f s\n", Options.Units,
                    static_cast<long long>(Options.Rows),
                    Seconds([&] { GenerateDemoDatabase(Db, Options); }));
    }
    TBenchHost Host(Db);
    TReportFilter Filter;
    Filter.BTypeIndex = QStringLiteral("1");
    Filter.UnitPrefix = QStringLiteral("1"); // every department of the province
    Filter.UnitName = QStringLiteral("全省");
    const TReportContext Context = MakeReportContext(Filter, QStringLiteral("预算数"), "11");
    TDetailQueryParts Parts{"11", !Context.ParentHasFewUnits, DetailLevelRange("1")};
    const QString Sql = BuildDetailSql(Context.Filter, Parts, DefDialect());

    int Rows = 0;
    const auto RunQuery = [&] {
        IARQueryPtr Result;
        OpenDefQuery(Sql, Result);
        Rows = Result ? Result->GetQuery()->RecordCount() : 0;
    };
    // Once untimed, so that the baseline and the fill both find the file in
    // the page cache; then the better of three runs.
    RunQuery();
    double Query = Seconds(RunQuery);
    for (int Run = 0; Run < 2; ++Run)
        Query = std::min(Query, Seconds(RunQuery));
    std::printf("detail table of fund 11, levels %d-%d: %d query rows\n", Parts.Levels.First,
                Parts.Levels.Last, Rows);
    Report("query alone (baseline)", Query, Rows, Query);
    TCellDocument Grid;
    double Fill = Seconds([&] { FillDetailTable(Grid, Context, "11", true); });
    for (int Run = 0; Run < 2; ++Run)
        Fill = std::min(Fill, Seconds([&] { FillDetailTable(Grid, Context, "11", true); }));
    Report("FillDetailTable", Fill, Rows, Query);
    Report("export .xlsx", Seconds([&] { Grid.ExportExcel(QDir(Out).filePath("detail11.xlsx")); }),
           Rows, Query);
    ReportPdf(Grid, QDir(Out).filePath("detail11.pdf"), Rows, Query);
    std::printf("peak memory so far: %ld MB\n", PeakMemoryMb());

    const QString Batch = QDir(QCoreApplication::applicationDirPath()).filePath("varnholt-batch");
    QProcess Run;
    Run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double Whole = Seconds([&] {
        Run.start(Batch, {"--connection", "Provider=SQLite;Data Source=" + Db, "--year", "2024",
                          "--out", QDir(Out).filePath("batch")});
        Run.waitForFinished(-1);
    });
    const QString Output = QString::fromLocal8Bit(Run.readAllStandardOutput());
    std::printf("%s", Output.toLocal8Bit().constData());
    std::printf("%-28s %8.2f s   %5.2f x query (exit %d)\n", "whole batch run (top node)", Whole,
                Whole / Query, Run.exitCode());
    return 0;
}
