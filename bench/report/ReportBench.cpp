// The detail table of fund nature 11 for a whole province, end to end: the
// query alone (through Qt SQL, every row fetched) as the baseline, then the
// fill, the workbook, the PDF, and a whole batch run of every table. Each
// step is reported in seconds, rows per second and against the baseline of
// the same run: the machines are noisy, ratios are what compare.
//
//   report_bench [--units N] [--rows M] [--db FILE] [--keep FOLDER]
//
// --db reuses (or makes once) a province file; --keep leaves the outputs.
#include "DemoData.h"
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "hostcontext/HostContext.h"
#include "platform/data/TDbManager.h"
#include "report/tables/AuditTotals.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/DetailQuery.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/TDetailAudit.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

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
    // The audit's own work within the fill: adding up the rows (read here
    // beforehand, as the fill reads them anyway), the counting query when
    // the rows leave a difference to explain, and the checks.
    struct TRow {
        int Order;
        TDetailRowText Text;
        TDetailRowAmounts Amounts;
    };
    std::vector<TRow> QueryRows;
    {
        IARQueryPtr Result;
        OpenDefQuery(Sql, Result);
        TARQuery& All = *Result->GetQuery();
        const TDetailRowReader Reader(All);
        for (All.First(); !All.Eof(); All.Next()) {
            TRow Row;
            Reader.Read(Row.Text, Row.Amounts);
            Row.Order = Reader.Order();
            QueryRows.push_back(Row);
        }
    }
    // Once as the fill runs it, once as if the rows left a difference that
    // only the counting query explains (the dearest case).
    for (const bool AlwaysCount : {false, true}) {
        bool Counted = false;
        const auto RunAudit = [&] {
            TDetailAudit Audit(Context.Filter.UnitPrefix, Parts);
            for (const TRow& Row : QueryRows)
                Audit.AddRow(Row.Order, Row.Text, Row.Amounts);
            QString Error;
            Counted = AlwaysCount || Audit.NeedsCount();
            if (Counted)
                CountDetailTotals(Audit, Context.Filter, "11", Error);
            Audit.Finish();
        };
        double AuditTime = Seconds(RunAudit);
        for (int Run = 0; Run < 2; ++Run)
            AuditTime = std::min(AuditTime, Seconds(RunAudit));
        const char* Step = AlwaysCount ? "  audit with its count" : "  of which the audit";
        Report(Step, AuditTime, Rows, Query);
        std::printf("%-28s %8.1f %% of the fill%s\n", "    share", 100.0 * AuditTime / Fill,
                    Counted ? " (counting query run)" : " (no count needed)");
    }
    Report("export .xlsx", Seconds([&] { Grid.ExportExcel(QDir(Out).filePath("detail11.xlsx")); }),
           Rows, Query);
    Report("PDF", Seconds([&] { Grid.PrintToPdf(QDir(Out).filePath("detail11.pdf")); }), Rows,
           Query);
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
