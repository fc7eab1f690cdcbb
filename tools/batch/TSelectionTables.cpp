#include "TSelectionTables.h"

#include "TBatchConsole.h"
#include "TBatchOptions.h"
#include "TFolderSet.h"
#include "TInterruptCleanup.h"
#include "TQueryThreads.h"
#include "TTableWriter.h"
#include "db/TQueryFailureWatch.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/ReportPageSelection.h"
#include "report/tables/ReportPdfInfo.h"
#include "report/tables/WorksheetFit.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <deque>
#include <future>

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

// A table queried and filled on a query thread, waiting to be handed to
// the writer; Problem says why it must not be written.
struct TFilledTable {
    std::unique_ptr<TCellDocument> Grid;
    TFillResult Result;
    QString Problem;
    std::future<void> Done;
};

// Queries and fills one table, on whichever thread runs it: it reads only
// what the run holds unchanged, and its statements go to the thread's
// connection. Every query of it, the lookups that count a failure as empty
// included, must have run: a table built on a failed one is not written.
void TSelectionTables::Fill(const TBatchTable& ATable, TFilledTable& AInto) const {
    const TQueryFailureWatch Watch;
    const TReportContext Context =
        MakeReportContext(FFilter, FHead.Selection.BTypeText(), ATable.Code);
    if (FOptions.WriteXlsx) {
        AInto.Problem = WorksheetProblem(ATable, Context);
        if (!AInto.Problem.isEmpty())
            return;
    }
    AInto.Grid = std::make_unique<TCellDocument>();
    // One fill serves both files: the workbook gets the export grid, numbers
    // as values; the printed table adds the amount header and page line.
    AInto.Result = FillReport(*AInto.Grid, Context, ATable.Code, true);
    const TFillResult& Filled = AInto.Result;
    if (Filled.Failed() || Watch.Failed())
        AInto.Problem =
            QStringLiteral("%1 的查询失败，未写出该表：%2")
                .arg(ATable.Caption, Filled.Failed() ? Filled.Error() : Watch.FirstError());
    else if (Filled.Unsound())
        AInto.Problem = QStringLiteral("%1 有金额不是有限数（溢出或不是数字），未写出该表：%2")
                            .arg(ATable.Caption, Filled.NotFiniteRows.join(QStringLiteral("；")));
}

// A filled table into the audit and to the writer, in the run's order.
bool TSelectionTables::Hand(const TBatchTable& ATable, TFilledTable& AFilled,
                            TTableWriter& AWriter) {
    if (!AFilled.Problem.isEmpty())
        return Refuse(AFilled.Problem);
    FAudit.Add(ATable.Caption, ATable.Code, AFilled.Result);
    TCellDocument& Grid = *AFilled.Grid;
    Grid.SetPdfInfo(
        ReportPdfInfo(Grid.CellText(1, 1), FFilter, FHead.Selection.BTypeText(), ATable.Name));
    SetPageSelection(Grid, FFilter, FHead.Selection.BTypeText());
    AWriter.Submit({ATable.Caption, ATable.Stem, ATable.Code, FHead.Selection.BTypeText(),
                    FOptions.WriteXlsx, FOptions.WritePdf, !FOptions.OneThread,
                    AFilled.Result.QueryRows, std::move(AFilled.Grid), &FOutputs});
    return true;
}

// A table whose workbook a worksheet cannot hold is found before it is
// filled: the fill of a million rows takes half a minute and a gigabyte,
// and the workbook would then be refused all the same.
QString TSelectionTables::WorksheetProblem(const TBatchTable& ATable,
                                           const TReportContext& AContext) const {
    const TWorksheetFit Fit = CheckWorksheetFit(AContext, ATable.Code);
    if (!Fit.QueryError.isEmpty())
        return QStringLiteral("%1 的查询失败，未写出该表：%2").arg(ATable.Caption, Fit.QueryError);
    if (Fit.TooLong())
        return QStringLiteral("%1 至少有 %2 行，超过 Excel 工作表 %3 行的上限，未填表也未写出"
                              "工作簿（PDF 不受此限，可用 --format pdf 只写 PDF）")
            .arg(ATable.Caption)
            .arg(Fit.AtLeast)
            .arg(Fit.Limit);
    return QString();
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

// The tables are filled on the query threads, as many at once as they
// have connections, and handed to the writer in their order: at most that
// many filled grids wait besides the one being written. A table that
// cannot be written stops the run once every fill begun has ended (they
// write into this object).
TSelectionTables::TOutcome TSelectionTables::Write(TTableWriter& AWriter, TQueryThreads& AQueries,
                                                   bool ATableLines) {
    std::deque<std::unique_ptr<TFilledTable>> Filling;
    int Next = 0;
    const auto Begin = [&] {
        while (int(Filling.size()) < AQueries.Width() && Next < FTables.size()) {
            auto Slot = std::make_unique<TFilledTable>();
            const TBatchTable* Table = &FTables[Next++];
            TFilledTable* Into = Slot.get();
            Slot->Done = AQueries.Run([this, Table, Into] { Fill(*Table, *Into); });
            Filling.push_back(std::move(Slot));
        }
    };
    const auto Stop = [&] {
        for (const auto& Slot : Filling)
            Slot->Done.wait();
        Filling.clear();
    };
    Begin();
    for (const TBatchTable& Table : FTables) {
        const std::unique_ptr<TFilledTable> Filled = std::move(Filling.front());
        Filling.pop_front();
        try {
            Filled->Done.get();
        } catch (...) {
            Stop();
            AWriter.Drain();
            throw;
        }
        if (!Hand(Table, *Filled, AWriter)) {
            Stop();
            // What was handed over is written first, so the lines say it;
            // a failure of that writing is said too.
            const QString Problem = FProblem;
            if (!Report(AWriter.Drain(), ATableLines))
                FProblem = Problem + QStringLiteral("；") + FProblem;
            return Failed;
        }
        Begin();
        if (!Report(AWriter.TakeFinished(), ATableLines) || OutputGone()) {
            Stop();
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
