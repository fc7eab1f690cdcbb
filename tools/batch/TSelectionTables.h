#pragma once

#include "TBatchAuditReport.h"
#include "TBatchTables.h"
#include "TRunRecord.h"
#include "cell/TCellOutputSet.h"
#include "report/tables/TReportFilter.h"

#include <QString>
#include <QStringList>

class TBatchConsole;
class TFolderSet;
struct TBatchOptions;
class TQueryThreads;
class TTableWriter;

// The tables of one selection written into one folder as a set: the
// summary table and every fund nature's detail table with data, each
// queried and filled on the run's query threads (as many at once as they
// have connections) while the one before is written, then the audit of
// them all beside them. The files wait under temporary names until the
// last is done and then appear together, replacing the folder's earlier
// set whole; a run that fails leaves the earlier set as it was.
class TSelectionTables {
public:
    enum TOutcome { Written, NoData, Failed, Unaudited };

    // AHead names the selection (its unit being this folder's), the
    // database and the time, for the head of the audit file.
    TSelectionTables(const TBatchOptions& AOptions, const TReportFilter& AFilter,
                     const TRunRecord& AHead, QString AFolder, const TBatchConsole& AConsole);

    // Lists the tables; NoData when no fund nature has data, Failed when the
    // list cannot be read or a name is too long (said on the console).
    TOutcome List();
    // Writes them (a line per table when ATableLines), then the audit;
    // Unaudited when a table's audit found a difference without a cause.
    // The tables are queried and filled on AQueries, handed to AWriter in
    // their order. Nothing appears in the folder before Commit.
    TOutcome Write(TTableWriter& AWriter, TQueryThreads& AQueries, bool ATableLines);
    // Moves the set in and removes what is left of AEarlier's set (the
    // folder's files of this program's naming before the run); false, with
    // Problem(), when a file could not be moved in: the audit file then
    // says which files are not this run's.
    bool Commit(const TFolderSet& AEarlier);

    int TableCount() const { return int(FTables.size()); }
    int TablesWritten() const { return FTablesWritten; }
    int Rows() const { return FRowsWritten; }
    // The files the set moved in, and the earlier files Commit removed.
    const QStringList& Files() const { return FOutputs.Committed(); }
    const QStringList& Removed() const { return FRemoved; }
    // Why the last step failed or found no data, in one line.
    const QString& Problem() const { return FProblem; }

private:
    bool CheckNameLengths();
    void Fill(const TBatchTable& ATable, struct TFilledTable& AInto) const;
    bool Hand(const TBatchTable& ATable, TFilledTable& AFilled, TTableWriter& AWriter);
    QString WorksheetProblem(const TBatchTable& ATable,
                             const struct TReportContext& AContext) const;
    bool Report(const std::vector<struct TTableWritten>& AWritten, bool ATableLines);
    TOutcome AuditTables(bool ATableLines);
    void RecordFailedCommit(const QStringList& AEarlier);
    bool OutputGone();
    TOutcome Fail(const QString& AProblem);
    bool Refuse(const QString& AProblem);

    const TBatchOptions& FOptions;
    const TReportFilter FFilter;
    TRunRecord FHead;
    const QString FFolder;
    const TBatchConsole& FConsole;
    QList<TBatchTable> FTables;
    TBatchAuditReport FAudit;
    TCellOutputSet FOutputs;
    QStringList FRemoved;
    QString FProblem;
    int FTablesWritten = 0;
    int FRowsWritten = 0;
};
