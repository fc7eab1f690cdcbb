#include "DbFixture.h"

#include "TempDir.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <gtest/gtest.h>

namespace {

std::atomic<int> WriterCount{0};

// A writable connection of the test's own, for making and checking fixtures.
template <class F> void WithWriter(const QString& AFile, F AWork) {
    const QString Name = QStringLiteral("db-test-writer-%1").arg(++WriterCount);
    {
        QSqlDatabase Db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name);
        Db.setDatabaseName(AFile);
        EXPECT_TRUE(Db.open()) << Db.lastError().text().toStdString();
        AWork(Db);
        Db.close();
    }
    QSqlDatabase::removeDatabase(Name);
}

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

QString MakeDemoDb(const TempDir& ADir, const TDemoOptions& AOptions) {
    const QString File = ADir.File(QStringLiteral("demo.db"));
    GenerateDemoDatabase(File, AOptions);
    return File;
}

QString MakeUnitsDb(const TempDir& ADir, const QList<QStringList>& AUnits) {
    const QString File = ADir.File(QStringLiteral("units.db"));
    WithWriter(File, [&](QSqlDatabase& ADb) {
        ApplyDemoSchema(ADb);
        QSqlQuery Insert(ADb);
        Insert.prepare(QStringLiteral("insert into pubdept (eid, peid, ename, class) "
                                      "values (?, ?, ?, length(?) / 3 - 1)"));
        for (const QStringList& Unit : AUnits) {
            Insert.bindValue(0, Unit.value(0));
            Insert.bindValue(1, Unit.value(1, QStringLiteral("")));
            Insert.bindValue(2, Unit.value(2, QStringLiteral("unit")));
            Insert.bindValue(3, Unit.value(0));
            EXPECT_TRUE(Insert.exec()) << Insert.lastError().text().toStdString();
        }
    });
    return File;
}

QStringList ReadColumn(const QString& AFile, const QString& ASql) {
    QStringList Values;
    WithWriter(AFile, [&](QSqlDatabase& ADb) {
        QSqlQuery Query(ADb);
        EXPECT_TRUE(Query.exec(ASql)) << Query.lastError().text().toStdString();
        while (Query.next())
            Values << Query.value(0).toString();
    });
    return Values;
}

void RunSql(const QString& AFile, const QStringList& AStatements) {
    WithWriter(AFile, [&](QSqlDatabase& ADb) {
        QSqlQuery Query(ADb);
        for (const QString& Statement : AStatements)
            EXPECT_TRUE(Query.exec(Statement)) << Query.lastError().text().toStdString();
    });
}
