#pragma once

#include "TRunRecord.h"
#include "report/tables/TReportFilter.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TBatchConsole;
class TBatchOutputFolder;
class TFolderSet;
class TSelectionTables;
class TQueryThreads;
class TTableWriter;
struct TBatchOptions;

// --each-unit: the tables of every unit under the selected node in one run,
// each unit's in a folder of its own ("code name"), one start-up and one
// connection for them all. Every unit's tables are listed, and every
// folder's name and earlier contents checked, before the first folder is
// made. The top folder's list of units (a record like an audit file) says
// after every unit which units this run wrote, which had no data and which
// it has not reached, so a run that stops half way says what is missing.
class TEachUnitRun {
public:
    TEachUnitRun(const TBatchOptions& AOptions, const TBatchConsole& AConsole,
                 const TReportFilter& ANode, const TRunRecord& AHead, const QElapsedTimer& ATimer);
    ~TEachUnitRun();
    TEachUnitRun(const TEachUnitRun&) = delete;
    TEachUnitRun& operator=(const TEachUnitRun&) = delete;

    // Writes the units under AUnder into AFolder; the run's exit code.
    int Run(const QString& AUnder, TBatchOutputFolder& AFolder, TTableWriter& AWriter,
            TQueryThreads& AQueries);

private:
    struct TUnit;

    bool ListUnits(const QString& AUnder);
    bool Plan();
    bool PlanUnit(TUnit& AUnit, QStringList& AConflicts);
    bool Claim(const TFolderSet& AEarlier, const QStringList& AConflicts);
    bool WriteUnit(TUnit& AUnit, int AIndex, TTableWriter& AWriter, TQueryThreads& AQueries);
    bool WriteList(const QString& AState);
    int Finish(const TFolderSet& AEarlier);
    int Fail(const QString& AMessage, int AExitCode = 1);
    bool Refuse(const QString& AMessage);
    QString UnitLine(const TUnit& AUnit, int AIndex) const;

    const TBatchOptions& FOptions;
    const TBatchConsole& FConsole;
    const TReportFilter FNode;
    TRunRecord FHead;
    const QElapsedTimer& FTimer;
    std::vector<TUnit> FUnits;
    QString FListPath;
    // The unit folders of the folder's earlier run over each unit: named in
    // the list until the run has finished, so that a run stopped half way
    // leaves them accounted for.
    QStringList FEarlierFolders;
    int FWritten = 0;
    int FTables = 0;
    int FRows = 0;
    bool FUnaudited = false;
};
