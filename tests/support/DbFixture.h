#pragma once

#include "DemoData.h"
#include "platform/data/TADOConnection.h"
#include "support/HostScope.h"

#include <QStringList>
#include <memory>

class TempDir;

// Helpers for tests on real SQLite files.

// Connection string of the embedded kind for a database file.
QString SqliteConnectionString(const QString& AFile);
// An open (read-only) connection to AFile.
std::unique_ptr<TADOConnection> OpenConnection(const QString& AFile);

// A generated demo database in ADir; small unless told otherwise.
QString MakeDemoDb(const TempDir& ADir, const TDemoOptions& AOptions = TDemoOptions{60, 3000});

// An empty database made from the schema, with the given pubdept rows: each
// row lists eid, peid and ename; the rest take the schema's defaults.
QString MakeUnitsDb(const TempDir& ADir, const QList<QStringList>& AUnits);

// Runs ASql on AFile through a writable connection of the test's own and
// returns the first column of every row as text.
QStringList ReadColumn(const QString& AFile, const QString& ASql);
// Runs each statement on AFile (created when missing) through such a
// connection.
void RunSql(const QString& AFile, const QStringList& AStatements);
