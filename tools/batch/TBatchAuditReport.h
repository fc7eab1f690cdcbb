#pragma once

#include "TRunRecord.h"
#include "report/tables/TFillResult.h"

#include <QString>
#include <QStringList>
#include <vector>

class TCellOutputSet;

// The audits of one run's tables: each table's own, and each detail table
// held against the summary table of the same selection. Said as one line
// per table and written as a tab-separated file beside the tables.
class TBatchAuditReport {
public:
    // ATable names the table as the run's lines do; AFundCode is empty for
    // the summary table.
    void Add(const QString& ATable, const QString& AFundCode, const TFillResult& AResult);
    // Compares every detail table with the summary table, when there is one.
    void CompareTables();
    bool Passed() const;
    // "审核 汇总表：审核通过…", one per table.
    QStringList Lines() const;
    // The file: UTF-8 with a byte-order mark (spreadsheet programs read it
    // as Unicode), AHead (what the tables are of), a heading line, then per
    // table one line for its result and one per difference: table, result,
    // cause, amount (万元), rows. Written whole or not at all, as the
    // tables are; with AOutputs, held there to appear with them.
    bool Write(const QString& APath, const TRunRecord& AHead, TCellOutputSet* AOutputs,
               QString& AError) const;

private:
    struct TTable {
        QString Name;
        QString FundCode;
        TFillResult Result;
    };
    std::vector<TTable> FTables;
};
