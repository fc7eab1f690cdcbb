// The demo province on a PostgreSQL server.

#include "DemoData.h"
#include "DemoRowWriter.h"
#include "platform/Exception.h"
#include "platform/data/DatabaseFailureText.h"
#include "platform/data/TADOConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <stdexcept>

namespace {

std::atomic<int> ServerConnections{0};

// The schema file's marker line between what must exist before the rows are
// loaded and what is cheaper to build afterwards.
const QLatin1String AfterLoading("\n-- After loading\n");

// The demo's objects, the view first, each table after those that refer
// to it: the order they are dropped in.
const char* const DemoObjects[] = {"vwbudgetadj",      "busibudgetadj", "busiindicator",
                                   "pubbudgetsubject", "pubmoneykind",  "pubdept"};

[[noreturn]] void Fail(const QString& AMessage) {
    throw std::runtime_error(AMessage.toUtf8().toStdString());
}

QString QuotedName(const QString& AName) {
    QString Doubled = AName;
    Doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + Doubled + QLatin1Char('"');
}

QString QuotedText(const QString& AText) {
    QString Doubled = AText;
    Doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + Doubled + QLatin1Char('\'');
}

// A writable session of the generator's own on one database of the server
// (the host's connections are read-only).
class TServerSession {
public:
    TServerSession(const TConnectionTarget& ATarget, const QString& ADatabase)
        : FName(QStringLiteral("varnholt-demo-server-%1").arg(++ServerConnections)) {
        FDb = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), FName);
        FDb.setDatabaseName(ADatabase);
        if (!ATarget.HostName.isEmpty())
            FDb.setHostName(ATarget.HostName);
        if (ATarget.Port >= 0)
            FDb.setPort(ATarget.Port);
        if (!ATarget.UserName.isEmpty())
            FDb.setUserName(ATarget.UserName);
        if (!ATarget.Password.isEmpty())
            FDb.setPassword(ATarget.Password);
        FDb.setConnectOptions(QStringLiteral("connect_timeout=10"));
    }
    ~TServerSession() {
        FDb.close();
        FDb = QSqlDatabase();
        QSqlDatabase::removeDatabase(FName);
    }
    TServerSession(const TServerSession&) = delete;
    TServerSession& operator=(const TServerSession&) = delete;

    // The driver's message when the session cannot be opened, else empty.
    QString Open() {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            return QStringLiteral("没有安装 Qt 的数据库驱动 QPSQL");
        if (FDb.open())
            return QString();
        const QString Error = FDb.lastError().text();
        return Error.isEmpty() ? QStringLiteral("数据库驱动没有给出原因") : Error;
    }
    QSqlDatabase& Db() { return FDb; }
    void Exec(const QString& ASql) {
        QSqlQuery Query(FDb);
        if (!Query.exec(ASql))
            FailDemo(ASql.section(QLatin1Char('\n'), 0, 0), Query.lastError());
    }
    QStringList Column(const QString& ASql) {
        QSqlQuery Query(FDb);
        if (!Query.exec(ASql))
            FailDemo(ASql, Query.lastError());
        QStringList Values;
        while (Query.next())
            Values << Query.value(0).toString();
        return Values;
    }

private:
    QString FName;
    QSqlDatabase FDb;
};

// Opens the target database, creating it through the maintenance database
// "postgres" when the server does not have it; any other failure is the
// target's own. Returns whether the database was created here.
bool OpenOrCreate(TServerSession& ASession, const TConnectionTarget& ATarget) {
    const QString OpenError = ASession.Open();
    if (OpenError.isEmpty())
        return false;
    const auto Refused = [&](const QString& AReason) {
        return ConnectFailureText(QString(), ATarget.Description, AReason);
    };
    TServerSession Maintenance(ATarget, QStringLiteral("postgres"));
    if (!Maintenance.Open().isEmpty())
        Fail(Refused(OpenError));
    if (!Maintenance
             .Column(QStringLiteral("select 1 from pg_database where datname = %1")
                         .arg(QuotedText(ATarget.DatabaseName)))
             .isEmpty())
        Fail(Refused(OpenError));
    // A database of its own collation: text sorts by its bytes, as in SQLite.
    Maintenance.Exec(QStringLiteral("create database %1 template template0 encoding 'UTF8' "
                                    "lc_collate 'C' lc_ctype 'C'")
                         .arg(QuotedName(ATarget.DatabaseName)));
    const QString Error = ASession.Open();
    if (!Error.isEmpty())
        Fail(Refused(Error));
    return true;
}

void DropCreatedDatabase(const TConnectionTarget& ATarget) {
    TServerSession Maintenance(ATarget, QStringLiteral("postgres"));
    if (Maintenance.Open().isEmpty()) {
        QSqlQuery Drop(Maintenance.Db());
        Drop.exec(QStringLiteral("drop database if exists %1 with (force)")
                      .arg(QuotedName(ATarget.DatabaseName)));
    }
}

void ClearOrRefuse(TServerSession& ASession, const TConnectionTarget& ATarget, bool AReplace) {
    QStringList Names;
    for (const char* Object : DemoObjects)
        Names << QuotedText(QString::fromLatin1(Object));
    const QStringList Present = ASession.Column(
        QStringLiteral("select table_name from information_schema.tables where table_schema = "
                       "current_schema() and table_name in (%1) order by table_name")
            .arg(Names.join(QLatin1Char(','))));
    if (Present.isEmpty())
        return;
    if (!AReplace)
        Fail(QStringLiteral("数据库里已经有同名的表或视图（%2），没有改动它们；要替换它们请加 "
                            "--replace：%1")
                 .arg(ATarget.Description, Present.join(QStringLiteral("、"))));
    // No CASCADE: an object of someone else's that depends on them stops
    // the drop instead of disappearing with it.
    ASession.Exec(QStringLiteral("drop view if exists vwbudgetadj"));
    ASession.Exec(QStringLiteral("drop table if exists busibudgetadj, busiindicator, "
                                 "pubbudgetsubject, pubmoneykind, pubdept"));
}

void WriteToServer(TServerSession& ASession, const TConnectionTarget& ATarget,
                   const TDemoOptions& AOptions, bool AReplace, TDemoSummary& ASummary) {
    const QString Schema = DemoPostgreSqlSchemaSql();
    const qsizetype Split = Schema.indexOf(AfterLoading);
    if (Split < 0)
        Fail(QStringLiteral("PostgreSQL 的建表脚本缺少“%1”这一行")
                 .arg(QString(AfterLoading).trimmed()));
    ASession.Exec(QStringLiteral("set standard_conforming_strings = on"));
    ASession.Exec(QStringLiteral("set client_min_messages = warning"));
    if (!ASession.Db().transaction())
        FailDemo(QStringLiteral("begin"), ASession.Db().lastError());
    try {
        ClearOrRefuse(ASession, ATarget, AReplace);
        ApplySchemaText(ASession.Db(), Schema.left(Split));
        TBatchRowWriter Writer(ASession.Db());
        WriteDemoProvince(Writer, AOptions, ASummary);
        ApplySchemaText(ASession.Db(), Schema.mid(Split));
        if (!ASession.Db().commit())
            FailDemo(QStringLiteral("commit"), ASession.Db().lastError());
    } catch (...) {
        ASession.Db().rollback();
        throw;
    }
    // Statistics for the planner, and the visibility map that lets the
    // covering index answer the report queries without visiting the table.
    ASession.Exec(QStringLiteral("vacuum analyze"));
}

} // namespace

TDemoSummary GenerateDemoAt(const QString& AConnectionString, const TDemoOptions& AOptions,
                            bool AReplace) {
    CheckDemoOptions(AOptions);
    TADOConnection Connection;
    Connection.SetConnectionString(AConnectionString);
    TConnectionTarget Target;
    try {
        Target = Connection.Target();
    } catch (const Exception& Error) {
        Fail(Error.Message());
    }
    switch (Connection.Dialect().Kind()) {
    case TSqlKind::SQLite:
        return GenerateDemoDatabase(Target.DatabaseName, AOptions);
    case TSqlKind::PostgreSQL:
        break;
    default:
        Fail(QStringLiteral("演示数据只能写成 SQLite 文件或 PostgreSQL 数据库，不能写到 "
                            "Provider=%1 的数据库")
                 .arg(Connection.Provider()));
    }
    if (Target.DatabaseName.isEmpty())
        Fail(QStringLiteral("连接串没有给出数据库（Database=）：%1").arg(Target.Description));

    TDemoSummary Summary;
    bool Created = false;
    try {
        TServerSession Session(Target, Target.DatabaseName);
        Created = OpenOrCreate(Session, Target);
        WriteToServer(Session, Target, AOptions, AReplace, Summary);
    } catch (...) {
        // A database made for this run and left empty goes again.
        if (Created)
            DropCreatedDatabase(Target);
        throw;
    }
    Summary.Target = Target.Description;
    return Summary;
}
