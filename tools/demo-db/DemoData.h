#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QtGlobal>

// A deterministic demo province for development, tests and benchmarks.
// Budget years are four-digit years.
constexpr int MaxDemoYear = 9999;
// Adjustment rows at most: the indicators they draw on (one for every 15
// rows) are held in memory while the rows are written, about 400 MB
// resident at this bound.
constexpr qint64 MaxDemoRows = 10'000'000;

struct TDemoOptions {
    // Rows of pubdept: departments, their own-level units and sub-units.
    int Units = 400;
    // Rows of busibudgetadj, up to MaxDemoRows.
    qint64 Rows = 50000;
    quint32 Seed = 20240601;
    int FirstYear = 2022;
    int Years = 3;
};

struct TDemoSummary {
    int Departments = 0;
    int Units = 0;
    int Indicators = 0;
    qint64 Rows = 0;
    // Where the province went: the file, or provider, server and database.
    QString Target;
};

// The schema of db/schema/sqlite.sql.
QString DemoSchemaSql();

// The schema of db/schema/postgresql.sql.
QString DemoPostgreSqlSchemaSql();

// Creates the tables and the view of the schema in ADb, which must be open
// and writable. Raises std::runtime_error naming the failing statement.
void ApplyDemoSchema(QSqlDatabase& ADb);

// Writes a new database file AFileName (replacing one that exists) with the
// schema and a province made from AOptions; the same options give the same
// data. The file appears only when it is complete. Raises std::runtime_error,
// also for a blank name, a folder as the target, or years past MaxDemoYear.
TDemoSummary GenerateDemoDatabase(const QString& AFileName, const TDemoOptions& AOptions);

// Writes the province into the database that an ADO-style connection string
// names: for Provider=SQLite the file of its Data Source, as
// GenerateDemoDatabase does; for Provider=PostgreSQL the server's database,
// created (UTF-8, C collation) when the server has none of that name. The
// schema and the rows go in within one transaction, so the database shows
// the whole province or nothing. A database that already holds any of the
// demo tables or the view is refused unless AReplace, which drops them
// first: those are the names of a real budget database's tables. Raises
// std::runtime_error.
TDemoSummary GenerateDemoAt(const QString& AConnectionString, const TDemoOptions& AOptions,
                            bool AReplace = false);
