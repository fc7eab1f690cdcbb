#include "TBatchConsole.h"

void TBatchConsole::Say(const QString& ALine) const {
    std::fprintf(FOut, "%s\n", ALine.toLocal8Bit().constData());
    std::fflush(FOut);
}

void TBatchConsole::Error(const QString& ALine) const {
    std::fprintf(FErr, "varnholt-batch: %s\n", ALine.toLocal8Bit().constData());
    std::fflush(FErr);
}
