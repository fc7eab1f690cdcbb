#pragma once

#include "DemoData.h"
#include "platform/data/TADOConnection.h"
#include "support/HostScope.h"

#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>
#include <memory>

class TempDir;

// Helpers for tests on real databases.

// Connection string of the embedded kind for a database file.
QString SqliteConnectionString(const QString& AFile);
// An open (read-only) connection to AFile.
std::unique_ptr<TADOConnection> OpenConnection(const QString& AFile);

// A writable Qt connection of the test's own to what an ADO-style string
// names (the plug-in's own connections are read-only), for making and
// checking fixtures; removed with the object. SQL errors fail the test.
class TTestSession {
public:
    explicit TTestSession(const QString& AConnectionString);
    ~TTestSession();
    TTestSession(const TTestSession&) = delete;
    TTestSession& operator=(const TTestSession&) = delete;

    QSqlDatabase Db() const;
    // Every row of ASql, run with AValues bound in order.
    QList<QVariantList> Rows(const QString& ASql, const QVariantList& AValues = {}) const;
    void Exec(const QString& ASql, const QVariantList& AValues = {}) const { Rows(ASql, AValues); }

private:
    QString FName;
};

// A generated demo database in ADir; small unless told otherwise.
QString MakeDemoDb(const TempDir& ADir, const TDemoOptions& AOptions = TDemoOptions{60, 3000});

// An empty database made from the schema, with the given pubdept rows: each
// row lists eid, peid and ename; the rest take the schema's defaults.
QString MakeUnitsDb(const TempDir& ADir, const QList<QStringList>& AUnits);

// Runs ASql on AFile through a test session and returns the first column of
// every row as text.
QStringList ReadColumn(const QString& AFile, const QString& ASql);
// Runs each statement on AFile (created when missing) through such a
// session.
void RunSql(const QString& AFile, const QStringList& AStatements);
