#pragma once

#include "TBatchAuditReport.h"
#include "TBatchOptions.h"
#include "TBatchTables.h"
#include "report/tables/TReportFilter.h"

#include <QStringList>
#include <cstdio>
#include <memory>

class TBatchOutputFolder;

// One run of varnholt-batch: checks what it needs, selects what the report
// window would select, then writes the summary table and every fund
// nature's detail table, one file per table and format, and their audit.
class TBatchRun {
public:
    TBatchRun(const TBatchOptions& AOptions, std::FILE* AOut, std::FILE* AErr);
    ~TBatchRun();

    // The process's exit code: 0 written, 1 failed (the reason printed), 2
    // an option names something the database does not hold, 3 written but
    // a table's audit found a difference without a known cause.
    int Run();
    int Tables() const { return FTablesWritten; }
    int Rows() const { return FRowsWritten; }

private:
    bool CheckDatabase();
    bool CheckTemplates();
    bool CheckLogin();
    bool PrepareOutputFolder();
    bool Select();
    bool SelectNode();
    bool ListTables();
    bool NoTables();
    bool CheckNameLengths();
    bool WriteTable(int AIndex, const TBatchTable& ATable);
    bool WriteFiles(const TBatchTable& ATable, class TCellDocument& AGrid,
                    const QString& AFundCode);
    int ReportAudit();
    void SayOtherTables();
    bool Fail(const QString& AMessage, int AExitCode = 1);
    void Say(const QString& ALine);

    const TBatchOptions& FOptions;
    std::FILE* FOut;
    std::FILE* FErr;
    std::unique_ptr<TBatchOutputFolder> FFolder;
    TReportFilter FFilter;
    QString FBTypeText;
    QList<TBatchTable> FTables;
    QStringList FWritten;
    int FExitCode = 1;
    int FRowsWritten = 0;
    int FTablesWritten = 0;
    TBatchAuditReport FAudit;
};
