#pragma once

#include "TBatchAuditReport.h"
#include "TBatchOptions.h"
#include "report/tables/TReportFilter.h"

#include <QStringList>
#include <cstdio>

// One run of varnholt-batch: checks what it needs, selects what the report
// window would select, then writes the summary table and every fund
// nature's detail table, one file per table and format.
class TBatchRun {
public:
    TBatchRun(const TBatchOptions& AOptions, std::FILE* AOut, std::FILE* AErr);

    // The process's exit code: 0 written, 1 failed (the reason printed), 3
    // written but a table's audit found a difference without a known cause.
    int Run();
    int Tables() const { return FTablesWritten; }
    int Rows() const { return FRowsWritten; }

private:
    bool CheckDatabase();
    bool CheckTemplates();
    bool PrepareOutputFolder();
    bool Select();
    bool WriteTable(int AIndex, const QString& AFundText);
    int ReportAudit();
    static QString TableName(const QString& AFundText);
    bool Fail(const QString& AMessage);
    void Say(const QString& ALine);

    const TBatchOptions& FOptions;
    std::FILE* FOut;
    std::FILE* FErr;
    TReportFilter FFilter;
    QString FBTypeText;
    QStringList FFunds;
    int FRowsWritten = 0;
    int FTablesWritten = 0;
    TBatchAuditReport FAudit;
};
