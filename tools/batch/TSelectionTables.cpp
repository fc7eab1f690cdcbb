#include "TSelectionTables.h"

#include "TBatchConsole.h"
#include "TBatchOptions.h"
#include "TFolderSet.h"
#include "TInterruptCleanup.h"
#include "TTableWriter.h"
#include "db/TQueryFailureWatch.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/ReportPdfInfo.h"
#include "report/tables/WorksheetFit.h"

#include <QFile>
#include <QFileInfo>
#include <climits>

namespace {
// What a file's temporary name adds to it: ".XXXXXX.part".
constexpr int TemporarySuffix = 12;
} // namespace

TSelectionTables::TSelectionTables(const TBatchOptions& AOptions, const TReportFilter& AFilter,
                                   const TRunRecord& AHead, QString AFolder,
                                   const TBatchConsole& AConsole)
    : FOptions(AOptions)
    , FFilter(AFilter)
    , FHead(AHead)
    , FFolder(std::move(AFolder))
    , FConsole(AConsole) {}

TSelectionTables::TOutcome TSelectionTables::Fail(const QString& AProblem) {
    FProblem = AProblem;
    return Failed;
}

bool TSelectionTables::Refuse(const QString& AProblem) {
    FProblem = AProblem;
    return false;
}

TSelectionTables::TOutcome TSelectionTables::List() {
    const TQueryFailureWatch Watch;
    const auto Funds = CodedFundNaturesWithData(FFilter.WindowFilter(DefDialect()));
    if (Watch.Failed())
        return Fail(QStringLiteral("查询资金性质失败，未写出报表：%1").arg(Watch.FirstError()));
    if (Funds.isEmpty()) {
        FProblem = QStringLiteral("没有任何资金性质有数据");
        return NoData;
    }
    for (const auto& [Code, Name] : Funds)
        FHead.Funds << Code + QLatin1Char(' ') + Name;
    QStringList Clashes;
    FTables = BatchTables(Funds, FFolder, FFilter.Year, FHead.Selection.BTypeText(), Clashes);
    if (!Clashes.isEmpty())
        FConsole.Say(QStringLiteral("有同名的资金性质，文件名中加上了编码：%1")
                         .arg(Clashes.join(QStringLiteral("、"))));
    return CheckNameLengths() ? Written : Failed;
}

// A name the file system cannot take is refused before anything is made:
// the file's own name, and its path with the folder's.
bool TSelectionTables::CheckNameLengths() {
    for (const TBatchTable& Table : FTables) {
        const QString Name = QFileInfo(Table.Stem + QStringLiteral(".xlsx")).fileName();
        const int Bytes = int(QFile::encodeName(Name).size());
        if (Bytes + TemporarySuffix > NAME_MAX)
            return Refuse(QStringLiteral("“%1”的表的文件名太长（%2 字节，连同临时文件的后缀超过 %3 "
                                         "字节的上限），未写出任何报表：%4")
                              .arg(Table.Caption)
                              .arg(Bytes)
                              .arg(NAME_MAX)
                              .arg(Name));
        const int PathBytes =
            int(QFile::encodeName(QFileInfo(Table.Stem).absoluteFilePath()).size()) + 5;
        if (PathBytes + TemporarySuffix >= PATH_MAX)
            return Refuse(QStringLiteral("“%1”的表的路径太长（%2 字节，连同临时文件的后缀达到 %3 "
                                         "字节的上限），未写出任何报表：%4")
                              .arg(Table.Caption)
                              .arg(PathBytes)
                              .arg(PATH_MAX)
                              .arg(FFolder));
    }
    return true;
}

// Queries and fills one table here, then hands it to the writer. Every
// query of it, the lookups that count a failure as empty included, must
// have run: a table built on a failed one is not written.
bool TSelectionTables::Fill(const TBatchTable& ATable, TTableWriter& AWriter) {
    const TQueryFailureWatch Watch;
    const QString BTypeText = FHead.Selection.BTypeText();
    const TReportContext Context = MakeReportContext(FFilter, BTypeText, ATable.Code);
    if (FOptions.WriteXlsx && !FitsWorksheet(ATable, Context))
        return false;
    auto Grid = std::make_unique<TCellDocument>();
    // One fill serves both files: the workbook gets the export grid, numbers
    // as values; the printed table adds the amount header and page line.
    const TFillResult Filled = FillReport(*Grid, Context, ATable.Code, true);
    if (Filled.Failed() || Watch.Failed())
        return Refuse(
            QStringLiteral("%1 的查询失败，未写出该表：%2")
                .arg(ATable.Caption, Filled.Failed() ? Filled.Error() : Watch.FirstError()));
    if (Filled.Unsound())
        return Refuse(QStringLiteral("%1 有金额不是有限数（溢出或不是数字），未写出该表：%2")
                          .arg(ATable.Caption, Filled.NotFiniteRows.join(QStringLiteral("；"))));
    FAudit.Add(ATable.Caption, ATable.Code, Filled);
    Grid->SetPdfInfo(ReportPdfInfo(Grid->CellText(1, 1), FFilter, BTypeText, ATable.Name));
    AWriter.Submit({ATable.Caption, ATable.Stem, ATable.Code, BTypeText, FOptions.WriteXlsx,
                    FOptions.WritePdf, !FOptions.OneThread, Filled.QueryRows, std::move(Grid),
                    &FOutputs});
    return true;
}

// A table whose workbook a worksheet cannot hold is found before it is
// filled: the fill of a million rows takes half a minute and a gigabyte,
// and the workbook would then be refused all the same.
bool TSelectionTables::FitsWorksheet(const TBatchTable& ATable, const TReportContext& AContext) {
    const TWorksheetFit Fit = CheckWorksheetFit(AContext, ATable.Code);
    if (!Fit.QueryError.isEmpty())
        return Refuse(
            QStringLiteral("%1 的查询失败，未写出该表：%2").arg(ATable.Caption, Fit.QueryError));
    if (Fit.TooLong())
        return Refuse(
            QStringLiteral("%1 至少有 %2 行，超过 Excel 工作表 %3 行的上限，未填表也未写出"
                           "工作簿（PDF 不受此限，可用 --format pdf 只写 PDF）")
                .arg(ATable.Caption)
                .arg(Fit.AtLeast)
                .arg(Fit.Limit));
    return true;
}

// The tables written so far: their lines, in order, and the first failure.
bool TSelectionTables::Report(const std::vector<TTableWritten>& AWritten, bool ATableLines) {
    for (const TTableWritten& Table : AWritten) {
        if (!Table.Error.isEmpty())
            return Refuse(Table.Error);
        FRowsWritten += Table.Rows;
        ++FTablesWritten;
        if (ATableLines)
            FConsole.Say(QStringLiteral("[%1/%2] %3：%4 行 -> %5")
                             .arg(FTablesWritten)
                             .arg(FTables.size())
                             .arg(Table.Caption)
                             .arg(Table.Rows)
                             .arg(Table.Files.join(QStringLiteral(", "))));
    }
    return true;
}

TSelectionTables::TOutcome TSelectionTables::Write(TTableWriter& AWriter, bool ATableLines) {
    for (const TBatchTable& Table : FTables) {
        if (!Fill(Table, AWriter)) {
            // What was handed over is written first, so the lines say it;
            // a failure of that writing is said too.
            const QString Problem = FProblem;
            if (!Report(AWriter.Drain(), ATableLines))
                FProblem = Problem + QStringLiteral("；") + FProblem;
            return Failed;
        }
        if (!Report(AWriter.TakeFinished(), ATableLines) || OutputGone()) {
            AWriter.Drain();
            return Failed;
        }
    }
    if (!Report(AWriter.Drain(), ATableLines))
        return Failed;
    const TOutcome Outcome = AuditTables(ATableLines);
    return OutputGone() ? Failed : Outcome;
}

// Nobody reads the run's lines any more: the set is not moved in.
bool TSelectionTables::OutputGone() {
    if (!FConsole.OutputClosed())
        return false;
    FProblem = QStringLiteral("标准输出已关闭，报表没有放入文件夹");
    return true;
}

// After the tables: one audit line per table and the audit file beside
// them.
TSelectionTables::TOutcome TSelectionTables::AuditTables(bool ATableLines) {
    FAudit.CompareTables();
    if (ATableLines) {
        for (const QString& Line : FAudit.Lines())
            FConsole.Say(Line);
    }
    const QString Path = AuditFilePath(FFolder, FFilter.Year, FHead.Selection.BTypeText());
    FHead.Made = QDateTime::currentDateTime();
    FHead.State = QStringLiteral("完成");
    FHead.Files = FOutputs.Held();
    QString Error;
    if (!FAudit.Write(Path, FHead, &FOutputs, Error))
        return Fail(QStringLiteral("%1，审核结果未能写出").arg(Error));
    if (ATableLines)
        FConsole.Say(QStringLiteral("审核结果 -> %1").arg(QFileInfo(Path).fileName()));
    if (FAudit.Passed())
        return Written;
    FProblem = QStringLiteral("审核未通过：有的表中差额没有已知原因");
    return Unaudited;
}

bool TSelectionTables::Commit(const TFolderSet& AEarlier) {
    const QStringList Written = FOutputs.Held();
    const TInterruptCleanup::THold Hold;
    if (!FOutputs.CommitAll()) {
        FProblem = QStringLiteral("%1，报表未能全部放入文件夹").arg(FOutputs.Error());
        RecordFailedCommit(AEarlier.Files());
        return false;
    }
    FRemoved = AEarlier.RemoveExcept(Written);
    return true;
}

// The set could not be moved in whole: the audit file, whatever it was,
// now says so and names the files that are not this run's.
void TSelectionTables::RecordFailedCommit(const QStringList& AEarlier) {
    QStringList Others;
    for (const QString& Name : AEarlier) {
        if (!FOutputs.Committed().contains(Name))
            Others << Name;
    }
    FHead.State = QStringLiteral("未完成：%1；以下文件不是本次运行写出的：%2")
                      .arg(FOutputs.Error(), Others.join(QStringLiteral("、")));
    FHead.Files = FOutputs.Committed();
    QString Error;
    if (!FAudit.Write(AuditFilePath(FFolder, FFilter.Year, FHead.Selection.BTypeText()), FHead,
                      nullptr, Error))
        FProblem += QStringLiteral("；%1，审核结果文件也未能改写，它仍记着原有的报表").arg(Error);
}
