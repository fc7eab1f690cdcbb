#include "TTableWriter.h"

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

TTableWritten TTableWriter::Write(TTableJob& AJob) {
    TTableWritten Written{AJob.Caption, AJob.Rows, {}, {}};
    TCellDocument& Grid = *AJob.Grid;
    if (AJob.Xlsx) {
        const QString Workbook = AJob.Stem + QStringLiteral(".xlsx");
        if (Grid.ExportExcel(Workbook) != 0) {
            Written.Error = QStringLiteral("%1 导出失败：%2").arg(AJob.Caption, Grid.LastError());
            return Written;
        }
        Written.Files << QFileInfo(Workbook).fileName();
    }
    if (AJob.Pdf) {
        // The printed table adds the amount header and the page line to the
        // grid the workbook was written from.
        const QString Pdf = AJob.Stem + QStringLiteral(".pdf");
        WriteAmountHeader(Grid, AJob.AmountHeaderFundCode, AJob.BTypeText);
        Grid.SetPageText(QString(), QString::fromUtf8(PageLine), QString());
        if (Grid.PrintToPdf(Pdf) != 0) {
            Written.Error = QStringLiteral("%1 打印失败：%2").arg(AJob.Caption, Grid.LastError());
            return Written;
        }
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
        if (FQueue.empty())
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
