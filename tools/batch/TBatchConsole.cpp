#include "TBatchConsole.h"

#include "report/tables/PrintableText.h"

#include <cerrno>

// A line is one line: a line break, an escape or a NUL inside it (from a
// unit's name, a fund nature's, a database's message) is shown escaped, so
// it can neither forge a line of the run nor command the terminal.
void TBatchConsole::Say(const QString& ALine) const {
    errno = 0;
    if ((std::fprintf(FOut, "%s\n", PrintableText(ALine).toLocal8Bit().constData()) < 0 ||
         std::fflush(FOut) != 0) &&
        errno == EPIPE)
        FOutputClosed = true;
}

void TBatchConsole::Error(const QString& ALine) const {
    std::fprintf(FErr, "varnholt-batch: %s\n", PrintableText(ALine).toLocal8Bit().constData());
    std::fflush(FErr);
}
