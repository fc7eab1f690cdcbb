#pragma once

#include "DemoData.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class QSqlError;

// Where the generator's rows go, one table after another. The generator
// makes the same rows, in the same order, whatever the writer, so one seed
// gives the same province on every engine.
class TRowWriter {
public:
    virtual ~TRowWriter() = default;
    virtual void BeginTable(const QString& ATable, const QStringList& AColumns) = 0;
    // Values are texts, integers or doubles, one per column, never null.
    virtual void AddRow(const QVariantList& AValues) = 0;
    virtual void EndTable() = 0;
};

// One prepared insert per row: SQLite runs them in-process, so that is the
// fastest way there.
class TPreparedRowWriter : public TRowWriter {
public:
    explicit TPreparedRowWriter(QSqlDatabase& ADb);
    void BeginTable(const QString& ATable, const QStringList& AColumns) override;
    void AddRow(const QVariantList& AValues) override;
    void EndTable() override {}

private:
    QSqlQuery FQuery;
    QString FTable;
};

// Multi-row inserts of literal values: a server pays a round trip for every
// statement, so rows travel a thousand at a time.
class TBatchRowWriter : public TRowWriter {
public:
    explicit TBatchRowWriter(QSqlDatabase& ADb, int ABatchRows = 1000);
    void BeginTable(const QString& ATable, const QStringList& AColumns) override;
    void AddRow(const QVariantList& AValues) override;
    void EndTable() override;

    // The SQL literal of a value: text quoted with its quotes doubled (the
    // server must keep standard_conforming_strings on, PostgreSQL's default
    // since 9.1), integers in decimal, doubles in the shortest form that
    // reads back as the same double.
    static QString Literal(const QVariant& AValue);

private:
    void Flush();

    QSqlDatabase& FDb;
    int FBatchRows;
    QString FHead;
    QString FTable;
    QStringList FRows;
};

// Raises std::runtime_error naming what failed and the database's message.
[[noreturn]] void FailDemo(const QString& AWhat, const QSqlError& AError);

// The generator's steps, shared by the SQLite file and the server path.
void CheckDemoOptions(const TDemoOptions& AOptions);
// Runs the statements of a schema text one by one (comment lines dropped).
void ApplySchemaText(QSqlDatabase& ADb, const QString& ASql);
void WriteDemoProvince(TRowWriter& AWriter, const TDemoOptions& AOptions, TDemoSummary& ASummary);
