// Loading the unit tree of a 5,000-unit province all at once, the way the
// report window loads it, against one plain read of the same rows; and a
// chain of units 1,000 and 10,000 levels deep, whose load should take ten
// times as long, not a hundred.

#include "DemoData.h"
#include "platform/data/TADOConnection.h"
#include "platform/data/TADOQuery.h"
#include "trees/TDynamicTree.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <sqlite3.h>

namespace {

const QString UnitSql = QStringLiteral("select eid,peid,leafflag,ename,eid||' '||ename as tname "
                                       "from pubdept where replaceflag='0' and useflag='0' "
                                       "and eid like '%'");

const QString& ProvinceFile() {
    static QTemporaryDir Dir;
    static const QString File = [] {
        const QString Path = Dir.filePath(QStringLiteral("province.db"));
        GenerateDemoDatabase(Path, TDemoOptions{5000, 20000});
        return Path;
    }();
    return File;
}

std::unique_ptr<TADOConnection> OpenProvince() {
    auto Conn = std::make_unique<TADOConnection>();
    Conn->SetConnectionString(QStringLiteral("Provider=SQLite;Data Source=%1").arg(ProvinceFile()));
    Conn->Open();
    return Conn;
}

// Counts the statements the engine runs on a connection.
class TStatementCounter {
public:
    explicit TStatementCounter(const TADOConnection& AConn) {
        const QVariant Handle = AConn.Database().driver()->handle();
        FHandle = *static_cast<sqlite3* const*>(Handle.constData());
        sqlite3_trace_v2(FHandle, SQLITE_TRACE_STMT, &Count, &Statements);
    }
    ~TStatementCounter() { sqlite3_trace_v2(FHandle, 0, nullptr, nullptr); }
    long Statements = 0;

private:
    static int Count(unsigned, void* ACounter, void*, void*) {
        ++*static_cast<long*>(ACounter);
        return 0;
    }
    sqlite3* FHandle;
};

// One full read of the tree's rows through the same query class.
int ReadAllUnits(TADOConnection& AConn) {
    TADOQuery Query;
    Query.SetConnection(&AConn);
    Query.SetSQLText(UnitSql);
    Query.Open();
    int Rows = 0;
    for (; !Query.Eof(); Query.Next(), ++Rows) {
        for (int I = 0; I < Query.FieldCount(); ++I)
            benchmark::DoNotOptimize(Query.Fields(I).AsString());
    }
    return Rows;
}

double BaselineMs(TADOConnection& AConn) {
    std::vector<double> Times;
    for (int I = 0; I < 9; ++I) {
        QElapsedTimer Timer;
        Timer.start();
        ReadAllUnits(AConn);
        Times.push_back(double(Timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(Times.begin(), Times.begin() + 4, Times.end());
    return Times[4];
}

void BM_FullUnitRead(benchmark::State& AState) {
    auto Conn = OpenProvince();
    int Rows = 0;
    for (auto _ : AState)
        Rows = ReadAllUnits(*Conn);
    AState.counters["rows"] = Rows;
}
BENCHMARK(BM_FullUnitRead)->Unit(benchmark::kMillisecond);

// The unit tree as the report window sets it up, loaded at once.
void ShowUnits(TDynamicTree& AUnits) {
    AUnits.SetSqlTable({UnitSql});
    AUnits.SetFieldId(QStringLiteral("eid"));
    AUnits.SetFieldPid(QStringLiteral("peid"));
    AUnits.SetFieldIsLeaf(QStringLiteral("leafflag"));
    AUnits.SetFieldCaption(QStringLiteral("ename"));
    AUnits.SetFieldText(QStringLiteral("tname"));
    AUnits.SetValueIsLeaf(QStringLiteral("1"));
    AUnits.SetLoadAll(true);
    AUnits.SetAutoExpandKind(aekFirstLeaf);
}

void BM_LoadAllUnitTree(benchmark::State& AState) {
    auto Conn = OpenProvince();
    QTreeWidget Tree;
    TDynamicTree Units;
    Units.SetAdoConn(Conn.get());
    Units.SetTreeView(&Tree);
    ShowUnits(Units);
    Units.SetTopVirNodeTitle(QStringLiteral("预算单位列表"));

    const double Baseline = BaselineMs(*Conn);
    long Queries = 0;
    double LoadMs = 0;
    for (auto _ : AState) {
        AState.PauseTiming();
        Units.SetActive(false);
        TStatementCounter Counter(*Conn);
        AState.ResumeTiming();
        QElapsedTimer Timer;
        Timer.start();
        Units.SetActive(true);
        LoadMs += double(Timer.nsecsElapsed()) / 1e6;
        Queries = Counter.Statements;
    }
    int Nodes = 0;
    for (QTreeWidgetItemIterator It(&Tree); *It; ++It)
        ++Nodes;
    AState.counters["queries"] = double(Queries);
    AState.counters["nodes"] = Nodes;
    AState.counters["full_read_ms"] = Baseline;
    AState.counters["x_full_read"] = LoadMs / double(AState.iterations()) / Baseline;
}
BENCHMARK(BM_LoadAllUnitTree)->Unit(benchmark::kMillisecond);

// A province whose first department has a chain of AState.range(0) units
// below it, each the only sub-unit of the one before.
const QString& ChainFile(int ALevels) {
    static QTemporaryDir Dir;
    static std::map<int, QString> Files;
    QString& File = Files[ALevels];
    if (File.isEmpty()) {
        File = Dir.filePath(QStringLiteral("chain%1.db").arg(ALevels));
        GenerateDemoDatabase(File, TDemoOptions{30, 300});
        const QString Name = QStringLiteral("chain-writer");
        {
            QSqlDatabase Db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name);
            Db.setDatabaseName(File);
            Db.open();
            QSqlQuery(Db).exec(
                QStringLiteral("with recursive c(i) as (select 1 union all select i + 1 from c "
                               "where i < %1) insert into pubdept (eid, peid, ename, leafflag, "
                               "class) select '101c' || i, case when i = 1 then '101' else "
                               "'101c' || (i - 1) end, 'level ' || i, case when i = %1 then '1' "
                               "else '0' end, 1 from c")
                    .arg(ALevels));
        }
        QSqlDatabase::removeDatabase(Name);
    }
    return File;
}

void BM_LoadAllDeepChain(benchmark::State& AState) {
    TADOConnection Conn;
    Conn.SetConnectionString(
        QStringLiteral("Provider=SQLite;Data Source=%1").arg(ChainFile(int(AState.range(0)))));
    Conn.Open();
    QTreeWidget Tree;
    TDynamicTree Units;
    Units.SetAdoConn(&Conn);
    Units.SetTreeView(&Tree);
    ShowUnits(Units);
    for (auto _ : AState) {
        Units.SetActive(false);
        Units.SetActive(true);
    }
}
BENCHMARK(BM_LoadAllDeepChain)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
