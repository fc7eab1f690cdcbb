#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QtGlobal>

// A deterministic demo province for development, tests and benchmarks.
struct TDemoOptions {
    // Rows of pubdept: departments, their own-level units and sub-units.
    int Units = 400;
    // Rows of busibudgetadj.
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
};

// The schema of db/schema/sqlite.sql.
QString DemoSchemaSql();

// Creates the tables and the view of the schema in ADb, which must be open
// and writable. Raises std::runtime_error naming the failing statement.
void ApplyDemoSchema(QSqlDatabase& ADb);

// Writes a new database file AFileName (replacing one that exists) with the
// schema and a province made from AOptions; the same options give the same
// data. The file appears only when it is complete. Raises std::runtime_error.
TDemoSummary GenerateDemoDatabase(const QString& AFileName, const TDemoOptions& AOptions);
