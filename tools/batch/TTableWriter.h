#pragma once

#include "cell/TCellDocument.h"
#include "cell/TCellOutputSet.h"

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A filled table to be written: its grid and what its files are called.
struct TTableJob {
    QString Caption;
    // The file path without extension.
    QString Stem;
    // The amount header the printed table gets ("预算数" or "临时指标"),
    // where the workbook keeps the template's.
    QString AmountHeaderFundCode;
    QString BTypeText;
    bool Xlsx = true;
    bool Pdf = true;
    // Whether the workbook and the PDF, and the PDF's halves, may be
    // written side by side.
    bool Parallel = true;
    int Rows = 0;
    std::unique_ptr<TCellDocument> Grid;
    // Where the written files wait to appear together with the rest of
    // the run's set; none moves each file onto its name as it is done.
    TCellOutputSet* Outputs = nullptr;
};

// What became of a job: the file names written, or why it failed.
struct TTableWritten {
    QString Caption;
    int Rows = 0;
    QStringList Files;
    QString Error;
};

// Writes filled tables on a thread of its own, one after the other in the
// order they were handed over, while the caller queries and fills the next
// one: the two cores work at once. Handing a table over waits until the one
// before is written, so at most two filled grids exist at a time. After a
// failure the tables handed over later are not written.
class TTableWriter {
public:
    // AThreaded false writes each table on the caller's thread as it is
    // handed over: the same files, one step after the other.
    explicit TTableWriter(bool AThreaded = true);
    ~TTableWriter();
    TTableWriter(const TTableWriter&) = delete;
    TTableWriter& operator=(const TTableWriter&) = delete;

    void Submit(TTableJob AJob);
    // The outcomes of the jobs finished since the last call, in order.
    std::vector<TTableWritten> TakeFinished();
    // Waits until every job handed over is finished (or skipped after a
    // failure), then TakeFinished.
    std::vector<TTableWritten> Drain();
    bool Failed() const;

    // Writes one job's files on the calling thread.
    static TTableWritten Write(TTableJob& AJob);

private:
    void Work();

    mutable std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<TTableJob> FQueue;
    std::vector<TTableWritten> FFinished;
    bool FBusy = false;
    bool FFailed = false;
    bool FStopping = false;
    bool FThreaded;
    std::thread FThread;
};
