#pragma once

#include <QString>
#include <cstdio>

// Where a run speaks: its lines on standard output, failures on standard
// error, each line whole and at once. A standard output that can no longer
// be written (the program reading it has gone: SIGPIPE is ignored, so the
// write fails instead of ending the process in the middle of its work) is
// noted, for the run to stop at its next step and clean up as it goes.
class TBatchConsole {
public:
    TBatchConsole(std::FILE* AOut, std::FILE* AErr)
        : FOut(AOut)
        , FErr(AErr) {}

    void Say(const QString& ALine) const;
    void Error(const QString& ALine) const;
    bool OutputClosed() const { return FOutputClosed; }

private:
    std::FILE* FOut;
    std::FILE* FErr;
    mutable bool FOutputClosed = false;
};
