#pragma once

#include "TBatchAuditReport.h"
#include "TBatchTables.h"
#include "report/tables/TReportFilter.h"

#include <QString>
#include <QStringList>

class TBatchConsole;
struct TBatchOptions;
class TTableWriter;

// The tables of one selection (a unit tree node) written into one folder:
// the summary table and every fund nature's detail table with data, each
// queried and filled here while the one before is written, then the audit
// of them all beside them.
class TSelectionTables {
public:
    enum TOutcome { Written, NoData, Failed, Unaudited };

    TSelectionTables(const TBatchOptions& AOptions, const TReportFilter& AFilter,
                     QString ABTypeText, QString AFolder, const TBatchConsole& AConsole);

    // Lists the tables; NoData when no fund nature has data, Failed when the
    // list cannot be read or a name is too long (said on the console).
    TOutcome List();
    // Writes them (a line per table when ATableLines), then the audit;
    // Unaudited when a table's audit found a difference without a cause.
    TOutcome Write(TTableWriter& AWriter, bool ATableLines);

    int TableCount() const { return int(FTables.size()); }
    int Tables() const { return FTablesWritten; }
    int Rows() const { return FRowsWritten; }
    const QStringList& Files() const { return FWritten; }
    // Why the last step failed or found no data, in one line.
    const QString& Problem() const { return FProblem; }

private:
    bool CheckNameLengths();
    bool Fill(const TBatchTable& ATable, TTableWriter& AWriter);
    bool Report(const std::vector<struct TTableWritten>& AWritten, bool ATableLines);
    TOutcome AuditTables(bool ATableLines);
    TOutcome Fail(const QString& AProblem);
    bool Refuse(const QString& AProblem);

    const TBatchOptions& FOptions;
    const TReportFilter FFilter;
    const QString FBTypeText;
    const QString FFolder;
    const TBatchConsole& FConsole;
    QList<TBatchTable> FTables;
    TBatchAuditReport FAudit;
    QStringList FWritten;
    QString FProblem;
    int FTablesWritten = 0;
    int FRowsWritten = 0;
};
