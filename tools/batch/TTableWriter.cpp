#include "TTableWriter.h"

#include "cell/TCellPrinter.h"
#include "cell/TCellXlsxWriter.h"
#include "report/tables/ReportCodes.h"
#include "report/tables/ReportFill.h"

#include <QFileInfo>

TTableWriter::TTableWriter(bool AThreaded)
    : FThreaded(AThreaded) {
    if (FThreaded)
        FThread = std::thread([this] { Work(); });
}

TTableWriter::~TTableWriter() {
    {
        const std::lock_guard<std::mutex> Guard(FLock);
        FStopping = true;
    }
    FChanged.notify_all();
    if (FThread.joinable())
        FThread.join();
}

namespace {

QString WriteWorkbook(const TCellSheet& ASheet, const QString& APath, const QString& ACaption,
                      TCellOutputSet* AOutputs) {
    TCellXlsxWriter Writer(ASheet);
    Writer.SetOutputSet(AOutputs);
    return Writer.Write(APath) == TCellXlsxWriter::Ok
               ? QString()
               : QStringLiteral("%1 导出失败：%2").arg(ACaption, Writer.Error());
}

QString WritePdf(const TCellDocument& AGrid, const QString& APath, const QString& ACaption,
                 bool AParallel, TCellOutputSet* AOutputs) {
    TCellPrinter Printer(AGrid.Sheet());
    Printer.SetInfo(AGrid.PdfInfo());
    Printer.SetParallel(AParallel);
    Printer.SetOutputSet(AOutputs);
    QString Error;
    return Printer.PrintToPdf(APath, Error) == TCellPrinter::Ok
               ? QString()
               : QStringLiteral("%1 打印失败：%2").arg(ACaption, Error);
}

} // namespace

// The printed table adds the amount header and the page line to the grid
// the workbook is written from (both carry the selection at the left of the
// page line already). The templates carry both already, and then
// the two files are written side by side from the same grid; otherwise the
// workbook comes first and the grid is changed for the PDF.
TTableWritten TTableWriter::Write(TTableJob& AJob) {
    TTableWritten Written{AJob.Caption, AJob.Rows, {}, {}};
    TCellDocument& Grid = *AJob.Grid;
    const QString Workbook = AJob.Stem + QStringLiteral(".xlsx");
    const QString Pdf = AJob.Stem + QStringLiteral(".pdf");
    const TCellPageSetup& Page = Grid.Sheet().Page();
    const bool Ready = HasAmountHeader(Grid, AJob.AmountHeaderFundCode, AJob.BTypeText) &&
                       Page.FooterRight.isEmpty() &&
                       Page.FooterCentre == QString::fromUtf8(PageLine);
    QString WorkbookError, PdfError;
    if (AJob.Xlsx && AJob.Pdf && Ready && AJob.Parallel) {
        // Row positions are worked out before both read them. The PDF is
        // made in memory meanwhile and saved only after the workbook: a
        // table whose workbook fails makes no PDF file either, as one after
        // the other.
        Grid.Sheet().RowTop(Grid.Sheet().RowCount());
        std::thread Side([&] {
            WorkbookError = WriteWorkbook(Grid.Sheet(), Workbook, AJob.Caption, AJob.Outputs);
        });
        TCellPrinter Printer(Grid.Sheet());
        Printer.SetInfo(Grid.PdfInfo());
        QByteArray Bytes;
        QString Cause;
        const bool Made = Printer.MakePdf(Bytes, &Cause);
        Side.join();
        QString Error;
        if (!Made)
            PdfError =
                QStringLiteral("%1 打印失败：%2")
                    .arg(AJob.Caption, Cause.isEmpty() ? QStringLiteral("无法生成 PDF") : Cause);
        else if (WorkbookError.isEmpty() &&
                 TCellPrinter::SavePdf(Bytes, Pdf, Error, TCellOutputFile::Replace, AJob.Outputs) !=
                     0)
            PdfError = QStringLiteral("%1 打印失败：%2").arg(AJob.Caption, Error);
    } else {
        if (AJob.Xlsx)
            WorkbookError = WriteWorkbook(Grid.Sheet(), Workbook, AJob.Caption, AJob.Outputs);
        if (AJob.Pdf && WorkbookError.isEmpty()) {
            WriteAmountHeader(Grid, AJob.AmountHeaderFundCode, AJob.BTypeText);
            // The selection at the left stays.
            Grid.SetPageText(QString(Page.FooterLeft), QString::fromUtf8(PageLine), QString());
            PdfError = WritePdf(Grid, Pdf, AJob.Caption, AJob.Parallel, AJob.Outputs);
        }
    }
    Written.Error = !WorkbookError.isEmpty() ? WorkbookError : PdfError;
    if (Written.Error.isEmpty()) {
        if (AJob.Xlsx)
            Written.Files << QFileInfo(Workbook).fileName();
        if (AJob.Pdf)
            Written.Files << QFileInfo(Pdf).fileName();
    }
    return Written;
}

void TTableWriter::Submit(TTableJob AJob) {
    if (!FThreaded) {
        if (FFailed)
            return;
        TTableWritten Written = Write(AJob);
        FFailed = !Written.Error.isEmpty();
        const std::lock_guard<std::mutex> Guard(FLock);
        FFinished.push_back(std::move(Written));
        return;
    }
    std::unique_lock<std::mutex> Guard(FLock);
    // One table is written while the next is filled: no third grid waits.
    FChanged.wait(Guard, [this] { return (FQueue.empty() && !FBusy) || FFailed; });
    if (FFailed)
        return;
    FQueue.push_back(std::move(AJob));
    FChanged.notify_all();
}

void TTableWriter::Work() {
    std::unique_lock<std::mutex> Guard(FLock);
    for (;;) {
        FChanged.wait(Guard, [this] { return !FQueue.empty() || FStopping; });
        // A writer going away writes nothing more: a job waiting may point
        // at a set of files that is gone.
        if (FQueue.empty() || FStopping)
            return;
        TTableJob Job = std::move(FQueue.front());
        FQueue.pop_front();
        FBusy = true;
        FChanged.notify_all();
        Guard.unlock();
        TTableWritten Written = Write(Job);
        Job.Grid.reset();
        Guard.lock();
        FBusy = false;
        FFailed = FFailed || !Written.Error.isEmpty();
        FFinished.push_back(std::move(Written));
        if (FFailed)
            FQueue.clear();
        FChanged.notify_all();
    }
}

std::vector<TTableWritten> TTableWriter::TakeFinished() {
    const std::lock_guard<std::mutex> Guard(FLock);
    std::vector<TTableWritten> Finished;
    Finished.swap(FFinished);
    return Finished;
}

std::vector<TTableWritten> TTableWriter::Drain() {
    {
        std::unique_lock<std::mutex> Guard(FLock);
        FChanged.wait(Guard, [this] { return FQueue.empty() && !FBusy; });
    }
    return TakeFinished();
}

bool TTableWriter::Failed() const {
    const std::lock_guard<std::mutex> Guard(FLock);
    return FFailed;
}
