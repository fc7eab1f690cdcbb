// The report end to end on a generated province, against the cost of its
// queries measured in the same run: the machines are noisy, ratios are what
// compare.
//
//   report_bench [--units N] [--rows M] [--db FILE] [--connection STRING]
//                [--keep FOLDER] [--batch-only]
//
// By default a province file (SQLite) is made, or reused with --db. With
// --connection the benchmark runs on that database instead (a PostgreSQL
// province made with varnholt-demo-db --connection ...). --keep leaves the
// outputs; --batch-only runs the whole-batch runs alone.
#include "BatchRuns.h"
#include "BenchSupport.h"
#include "DemoData.h"
#include "DetailSteps.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString MakeProvince(const QCommandLineParser& AParser, const QTemporaryDir& ATemp) {
    const QString Db =
        AParser.isSet("db") ? AParser.value("db") : QDir(ATemp.path()).filePath("p.db");
    if (!QFileInfo::exists(Db)) {
        TDemoOptions Options;
        Options.Units = AParser.value("units").toInt();
        Options.Rows = AParser.value("rows").toLongLong();
        std::printf("generating %d units, %lld adjustments: %.1f s\n", Options.Units,
                    static_cast<long long>(Options.Rows),
                    Seconds([&] { GenerateDemoDatabase(Db, Options); }));
    }
    return QStringLiteral("Provider=SQLite;Data Source=") + Db;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    QCommandLineParser Parser;
    Parser.addOptions({{"units", "Units in the province.", "N", "5000"},
                       {"rows", "Adjustments in the province.", "M", "500000"},
                       {"db", "Province file to use (made when missing).", "file"},
                       {"connection", "Database to run on instead of a province file.", "string"},
                       {"keep", "Folder to leave the outputs in.", "folder"},
                       {"batch-only", "Only the whole-batch and --each-unit runs."}});
    Parser.process(App);
    QTemporaryDir Temp;
    const QString Out = Parser.isSet("keep") ? Parser.value("keep") : Temp.path();
    QDir().mkpath(Out);
    const QString Connection =
        Parser.isSet("connection") ? Parser.value("connection") : MakeProvince(Parser, Temp);
    const TBenchHost Host(Connection, QStringLiteral("101001"));
    if (!Parser.isSet("batch-only"))
        BenchDetailSteps(Out);
    BenchBatchRuns(Connection, Out);
    return 0;
}
