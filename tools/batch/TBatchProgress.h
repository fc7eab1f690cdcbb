#pragma once

#include "report/tables/TReportProgress.h"

// Counts the rows of a fill; the batch tool reports them per table.
class TBatchProgress : public TReportProgress {
public:
    void Begin(int ARowCount) override { FRows = ARowCount; }
    void Step() override {}
    void End() override {}
    int Rows() const { return FRows; }

private:
    int FRows = 0;
};
