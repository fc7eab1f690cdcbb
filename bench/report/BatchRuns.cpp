#include "BatchRuns.h"

#include "BenchSupport.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The department (first three characters of the unit code) with the most
// adjustments of the year's approved budget among those of class 1, the
// class the runs log in with (a department of another class has no table
// for them).
QString LargestDepartment() {
    IARQueryPtr Query;
    if (!OpenDefQuery(
            QStringLiteral(
                "select substr(eid,1,3) as dept, count(*) as n from "
                "vwbudgetadj where datayear=2024 and btype='1' and deptclass='1' group by "
                "substr(eid,1,3) order by n desc"),
            Query))
        return QStringLiteral("101");
    return Query->GetQuery()->Fields(0).AsString();
}

struct TStatements {
    int Count = 0;
    double Seconds = 0;
};

// Every statement of the log run again, alone, after one warming run of
// each: the time the database needs for them, rows fetched.
TStatements Replay(const QString& ALog) {
    QFile Log(ALog);
    TStatements Sum;
    if (!Log.open(QIODevice::ReadOnly | QIODevice::Text))
        return Sum;
    QStringList Statements;
    while (!Log.atEnd()) {
        const QString Line = QString::fromUtf8(Log.readLine()).trimmed();
        Statements << Line.section(QLatin1Char('\t'), 1);
    }
    for (const QString& Sql : Statements) {
        const double Time = BestOfThree([&] {
            IARQueryPtr Query;
            OpenDefQuery(Sql, Query);
        });
        Sum.Seconds += Time;
        ++Sum.Count;
    }
    return Sum;
}

// Processor seconds of the children this process has waited for.
double ChildProcessorSeconds() {
    rusage Usage{};
    getrusage(RUSAGE_CHILDREN, &Usage);
    return double(Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) +
           double(Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
}

// Processor seconds of a PostgreSQL server on this machine so far: its
// main process and the sessions it has reaped (each connection is a
// process of its own). Negative for SQLite or a server elsewhere.
double ServerProcessorSeconds() {
    IARQueryPtr Query;
    if (!OpenDefQuery(QStringLiteral("select pg_backend_pid()"), Query))
        return -1;
    const QString Session = Query->GetQuery()->Fields(0).AsString();
    const auto Fields = [](const QString& APid) {
        QFile Stat(QStringLiteral("/proc/%1/stat").arg(APid));
        if (!Stat.open(QIODevice::ReadOnly))
            return QStringList();
        const QString Text = QString::fromLatin1(Stat.readAll());
        // Fields after the command's closing parenthesis, the state first.
        return Text.mid(Text.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
    };
    const QStringList Own = Fields(Session);
    if (Own.size() < 15)
        return -1;
    const QStringList Main = Fields(Own[1]);
    if (Main.size() < 15)
        return -1;
    double Ticks = 0;
    for (int Field = 11; Field <= 14; ++Field) // utime, stime, cutime, cstime
        Ticks += Main[Field].toDouble();
    return Ticks / double(sysconf(_SC_CLK_TCK));
}

struct TWayRun {
    double Wall = 0;
    double Tool = 0;
    double Server = -1;
    int Exit = -1;
    QString Last;
};

TWayRun RunTool(const QString& AConnection, const QStringList& AArguments,
                const QProcessEnvironment& AEnvironment) {
    QProcess Run;
    Run.setProcessEnvironment(AEnvironment);
    Run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString Tool = QDir(QCoreApplication::applicationDirPath()).filePath("varnholt-batch");
    TWayRun Result;
    const double Tool0 = ChildProcessorSeconds(), Server0 = ServerProcessorSeconds();
    Result.Wall = Seconds([&] {
        Run.start(Tool, QStringList{"--connection", AConnection, "--year", "2024"} + AArguments);
        Run.waitForFinished(-1);
    });
    Result.Tool = ChildProcessorSeconds() - Tool0;
    // The server's main process reaps the run's sessions as they end.
    QThread::msleep(300);
    if (Server0 >= 0)
        Result.Server = ServerProcessorSeconds() - Server0;
    Result.Exit = Run.exitCode();
    const QString Output = QString::fromLocal8Bit(Run.readAllStandardOutput());
    Result.Last = Output.trimmed().section(QLatin1Char('\n'), -1);
    return Result;
}

void Say(const char* AWay, const TWayRun& ARun, double AStatements) {
    std::printf("%-32s %8.2f s   %5.2f x its statements (processor: tool %.2f s", AWay, ARun.Wall,
                ARun.Wall / AStatements, ARun.Tool);
    if (ARun.Server >= 0)
        std::printf(", server %.2f s", ARun.Server);
    std::printf(")\n");
}

// The run as it is made (its statements on two connections of their own
// while the tables are written), then one step after the other
// (VARNHOLT_BATCH_THREADS=1), each against the statements it ran, taken
// alone. The first run, a warming one, is not counted.
void RunBatch(const char* AName, const QString& AConnection, const QStringList& AArguments) {
    QTemporaryFile Log;
    Log.open();
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    RunTool(AConnection, AArguments, Environment);
    Environment.insert("VARNHOLT_SQL_LOG", Log.fileName());
    const TWayRun Made = RunTool(AConnection, AArguments, Environment);
    Environment.remove("VARNHOLT_SQL_LOG");
    std::printf("%s (exit %d): %s\n", AName, Made.Exit, Made.Last.toLocal8Bit().constData());
    const TStatements Statements = Replay(Log.fileName());
    std::printf("%-32s %8.2f s   (%d statements)\n", "  its statements, alone", Statements.Seconds,
                Statements.Count);
    Say("  the whole run", Made, Statements.Seconds);
    Environment.insert("VARNHOLT_BATCH_THREADS", "1");
    Say("  one step after the other", RunTool(AConnection, AArguments, Environment),
        Statements.Seconds);
}

} // namespace

void BenchBatchRuns(const QString& AConnection, const QString& AOutFolder) {
    const QString Department = LargestDepartment();
    const QString Login = Department + QStringLiteral("001");
    // The folders are the bench's own: a set kept there from a run over
    // another province is replaced, not a reason to refuse the run timed.
    RunBatch(qPrintable(QStringLiteral("whole batch of department %1").arg(Department)),
             AConnection,
             {"--unit", Login, "--replace", "--out", QDir(AOutFolder).filePath("batch")});
    RunBatch(qPrintable(QStringLiteral("--each-unit of department %1").arg(Department)),
             AConnection,
             {"--unit", Login, "--each-unit", "--replace", "--out",
              QDir(AOutFolder).filePath("each-unit")});
}
