#pragma once

#include <QString>
#include <cstdio>

// Where a run speaks: its lines on standard output, failures on standard
// error, each line whole and at once.
class TBatchConsole {
public:
    TBatchConsole(std::FILE* AOut, std::FILE* AErr)
        : FOut(AOut)
        , FErr(AErr) {}

    void Say(const QString& ALine) const;
    void Error(const QString& ALine) const;

private:
    std::FILE* FOut;
    std::FILE* FErr;
};
