#pragma once

// Shown while a table is filled: the window's progress panel and hourglass
// cursor, a console line in the batch tool.
class TReportProgress {
public:
    virtual ~TReportProgress() = default;
    // A fill of ARowCount query rows begins.
    virtual void Begin(int ARowCount) = 0;
    // One more query row is laid out.
    virtual void Step() = 0;
    // The fill has ended, however it ended.
    virtual void End() = 0;
};

// Begins on construction and ends on destruction, so an error inside a
// fill still hides the panel and restores the cursor.
class TProgressScope {
public:
    TProgressScope(TReportProgress* AProgress, int ARowCount)
        : FProgress(AProgress) {
        if (FProgress)
            FProgress->Begin(ARowCount);
    }
    ~TProgressScope() {
        if (FProgress)
            FProgress->End();
    }
    TProgressScope(const TProgressScope&) = delete;
    TProgressScope& operator=(const TProgressScope&) = delete;

    void Step() {
        if (FProgress)
            FProgress->Step();
    }

private:
    TReportProgress* FProgress;
};
