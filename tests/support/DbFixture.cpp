#include "DbFixture.h"

#include "TempDir.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <gtest/gtest.h>

namespace {
std::atomic<int> SessionCount{0};
} // namespace

QString SqliteConnectionString(const QString& AFile) {
    return QStringLiteral("Provider=SQLite;Data Source=%1").arg(AFile);
}

std::unique_ptr<TADOConnection> OpenConnection(const QString& AFile) {
    auto Conn = std::make_unique<TADOConnection>();
    Conn->SetConnectionString(SqliteConnectionString(AFile));
    Conn->Open();
    return Conn;
}

TTestSession::TTestSession(const QString& AConnectionString)
    : FName(QStringLiteral("test-session-%1").arg(++SessionCount)) {
    TADOConnection Connection;
    Connection.SetConnectionString(AConnectionString);
    const TConnectionTarget Target = Connection.Target();
    QSqlDatabase Db = QSqlDatabase::addDatabase(Target.Driver, FName);
    Db.setDatabaseName(Target.DatabaseName);
    Db.setHostName(Target.HostName);
    Db.setPort(Target.Port);
    Db.setUserName(Target.UserName);
    Db.setPassword(Target.Password);
    EXPECT_TRUE(Db.open()) << AConnectionString.toStdString() << ": "
                           << Db.lastError().text().toStdString();
}

TTestSession::~TTestSession() {
    QSqlDatabase::database(FName, false).close();
    QSqlDatabase::removeDatabase(FName);
}

QSqlDatabase TTestSession::Db() const {
    return QSqlDatabase::database(FName, false);
}

QList<QVariantList> TTestSession::Rows(const QString& ASql, const QVariantList& AValues) const {
    QSqlQuery Query(Db());
    Query.setForwardOnly(true);
    QList<QVariantList> Rows;
    // Only statements with values are prepared: PostgreSQL prepares no DDL.
    bool Done = AValues.isEmpty() || Query.prepare(ASql);
    for (int I = 0; Done && I < AValues.size(); ++I)
        Query.bindValue(I, AValues[I]);
    if (!Done || !(AValues.isEmpty() ? Query.exec(ASql) : Query.exec())) {
        ADD_FAILURE() << ASql.toStdString() << ": " << Query.lastError().text().toStdString();
        return Rows;
    }
    while (Query.next()) {
        QVariantList Row;
        for (int I = 0; I < Query.record().count(); ++I)
            Row << Query.value(I);
        Rows << Row;
    }
    return Rows;
}

QString MakeDemoDb(const TempDir& ADir, const TDemoOptions& AOptions) {
    const QString File = ADir.File(QStringLiteral("demo.db"));
    GenerateDemoDatabase(File, AOptions);
    return File;
}

QString MakeUnitsDb(const TempDir& ADir, const QList<QStringList>& AUnits) {
    const QString File = ADir.File(QStringLiteral("units.db"));
    const TTestSession Session(SqliteConnectionString(File));
    QSqlDatabase Db = Session.Db();
    ApplyDemoSchema(Db);
    for (const QStringList& Unit : AUnits)
        Session.Exec(QStringLiteral("insert into pubdept (eid, peid, ename, class) "
                                    "values (?, ?, ?, length(?) / 3 - 1)"),
                     {Unit.value(0), Unit.value(1, QStringLiteral("")),
                      Unit.value(2, QStringLiteral("unit")), Unit.value(0)});
    return File;
}

QStringList ReadColumn(const QString& AFile, const QString& ASql) {
    QStringList Values;
    for (const QVariantList& Row : TTestSession(SqliteConnectionString(AFile)).Rows(ASql))
        Values << Row.value(0).toString();
    return Values;
}

void RunSql(const QString& AFile, const QStringList& AStatements) {
    const TTestSession Session(SqliteConnectionString(AFile));
    for (const QString& Statement : AStatements)
        Session.Exec(Statement);
}
