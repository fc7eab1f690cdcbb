#include "BatchRuns.h"

#include "BenchSupport.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <cstdio>

namespace {

// The department (first three characters of the unit code) with the most
// adjustments of the year's approved budget.
QString LargestDepartment() {
    IARQueryPtr Query;
    if (!OpenDefQuery(QStringLiteral("select substr(eid,1,3) as dept, count(*) as n from "
                                     "busibudgetadj where datayear=2024 and BType='1' group by "
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

void RunBatch(const char* AName, const QString& AConnection, const QStringList& AArguments) {
    QTemporaryFile Log;
    Log.open();
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert("VARNHOLT_SQL_LOG", Log.fileName());
    QProcess Run;
    Run.setProcessEnvironment(Environment);
    Run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString Tool = QDir(QCoreApplication::applicationDirPath()).filePath("varnholt-batch");
    const double Wall = Seconds([&] {
        Run.start(Tool, QStringList{"--connection", AConnection, "--year", "2024"} + AArguments);
        Run.waitForFinished(-1);
    });
    const QString Output = QString::fromLocal8Bit(Run.readAllStandardOutput());
    const QString Last = Output.trimmed().section(QLatin1Char('\n'), -1);
    std::printf("%s (exit %d): %s\n", AName, Run.exitCode(), Last.toLocal8Bit().constData());
    const TStatements Statements = Replay(Log.fileName());
    std::printf("%-32s %8.2f s   (%d statements)\n", "  its statements, alone", Statements.Seconds,
                Statements.Count);
    std::printf("%-32s %8.2f s   %5.2f x its statements\n", "  the whole run", Wall,
                Wall / Statements.Seconds);
}

} // namespace

void BenchBatchRuns(const QString& AConnection, const QString& AOutFolder) {
    const QString Department = LargestDepartment();
    const QString Login = Department + QStringLiteral("001");
    RunBatch(qPrintable(QStringLiteral("whole batch of department %1").arg(Department)),
             AConnection, {"--unit", Login, "--out", QDir(AOutFolder).filePath("batch")});
    RunBatch(qPrintable(QStringLiteral("--each-unit of department %1").arg(Department)),
             AConnection,
             {"--unit", Login, "--each-unit", "--out", QDir(AOutFolder).filePath("each-unit")});
}
