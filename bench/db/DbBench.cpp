// Generation of the demo province and reading a report-sized result through
// the plug-in's query classes.

#include "DemoData.h"
#include "db/QueryLifetime.h"
#include "db/SqlDialect.h"
#include "db/TARQuery.h"
#include "platform/data/TAdoConn.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir& Scratch() {
    static QTemporaryDir Dir;
    return Dir;
}

void BM_GenerateDemoDatabase(benchmark::State& AState) {
    const QString File = Scratch().filePath(QStringLiteral("generated.db"));
    for (auto _ : AState)
        GenerateDemoDatabase(File, TDemoOptions{400, AState.range(0)});
    AState.SetItemsProcessed(AState.iterations() * AState.range(0));
}
BENCHMARK(BM_GenerateDemoDatabase)->Arg(50000)->Unit(benchmark::kMillisecond);

// The shape of the detail table's query: conditional sums by unit, subject
// and indicator over one department and indicator type.
void BM_DetailShapedQuery(benchmark::State& AState) {
    static const QString File = [] {
        const QString Path = Scratch().filePath(QStringLiteral("read.db"));
        GenerateDemoDatabase(Path, TDemoOptions{2000, 500000});
        return Path;
    }();
    TAdoConn Conn;
    Conn.SetConnectionString(QStringLiteral("Provider=SQLite;Data Source=%1").arg(File));
    TAdoConn* C = &Conn;
    const auto Sum = [C](const char* AIpid, const char* APid) {
        return BuildNvl(
            C,
            QStringLiteral("sum(") +
                BuildDecode(C, QStringLiteral("(ipid"),
                            {QStringLiteral("'%1') and pid='%2' ")
                                 .arg(QString::fromLatin1(AIpid), QString::fromLatin1(APid)),
                             "BudgMoney", "0"}) +
                QLatin1Char(')'),
            QStringLiteral("0"));
    };
    const QString Sql =
        QStringLiteral("select eid,ename,bid,bname,iid,iname,sum(BudgMoney)/10000 as summ,") +
        Sum("11", "10") + QStringLiteral("/10000 as jbzj,") + Sum("11", "20") +
        QStringLiteral("/10000 as jbsq,") + Sum("12", "10") + QStringLiteral("/10000 as xmzj,") +
        Sum("12", "20") +
        QStringLiteral("/10000 as xmsq from vwbudgetadj where 1=1 and datayear=2024 and eid "
                       "like '101%' and pid<>'' and BType='1' and deptclass='1' "
                       "group by eid,ename,bid,bname,iid,iname order by eid,bid,iid");
    int Rows = 0;
    for (auto _ : AState) {
        IARQueryPtr Query;
        OpenQuery(C, Sql, Query);
        Rows = Query->GetQuery()->RecordCount();
        for (TARQuery* Q = Query->GetQuery(); !Q->Eof(); Q->Next())
            benchmark::DoNotOptimize(Q->FieldByName(QStringLiteral("summ")).AsFloat());
    }
    AState.counters["rows"] = Rows;
}
BENCHMARK(BM_DetailShapedQuery)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
