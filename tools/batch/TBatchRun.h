#pragma once

#include "TBatchConsole.h"
#include "TBatchOptions.h"
#include "TRunRecord.h"
#include "report/tables/TReportFilter.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <memory>

class TBatchOutputFolder;
class TFolderSet;
class TSelectionTables;
class TQueryThreads;
class TTableWriter;

// One run of varnholt-batch: checks what it needs and selects what the
// report window would select; then writes the tables of that selection, or,
// with --each-unit, of every unit under it, each into a folder of its own.
class TBatchRun {
public:
    TBatchRun(const TBatchOptions& AOptions, std::FILE* AOut, std::FILE* AErr);
    ~TBatchRun();

    // The process's exit code: 0 written, 1 failed (the reason printed), 2
    // an option names something the database does not hold or a folder
    // that holds another selection's tables, 3 written but a table's audit
    // found a difference without a known cause.
    int Run();
    // Whether the program reading the run's lines went away meanwhile.
    bool OutputClosed() const { return FConsole.OutputClosed(); }

private:
    bool CheckDatabase();
    bool CheckTemplates();
    bool CheckLogin();
    bool PrepareFolder(TBatchOutputFolder& AFolder);
    bool Select();
    bool SelectNode();
    TRunRecord RecordHead() const;
    bool ClaimFolder(const TFolderSet& AEarlier);
    int WriteSelection(TTableWriter& AWriter, TQueryThreads& AQueries);
    int WriteEachUnit(TTableWriter& AWriter, TQueryThreads& AQueries);
    int NoTables();
    void SayRemoved(const QStringList& ARemoved) const;
    void SayDone(int ATables, int ARows) const;
    bool Fail(const QString& AMessage, int AExitCode = 1);

    const TBatchOptions& FOptions;
    TBatchConsole FConsole;
    QElapsedTimer FTimer;
    std::unique_ptr<TBatchOutputFolder> FFolder;
    TReportFilter FFilter;
    TRunSelection FSelection;
    QString FTreeRoot;
    int FExitCode = 1;
};
