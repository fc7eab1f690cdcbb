// varnholt-tsql-texts: writes every SQL Server text the report can send,
// one JSON object a line with the selection that made it, to the file named
// on the command line (standard output without one). The T-SQL check
// (grammar/check.js) parses each.
#include "SqlServerMatrix.h"
#include "TSqlServerTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace {

bool OpenOutput(QFile& AOut, const QStringList& AArgs) {
    if (AArgs.size() < 2)
        return AOut.open(stdout, QIODevice::WriteOnly);
    AOut.setFileName(AArgs[1]);
    return AOut.open(QIODevice::WriteOnly);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication App(argc, argv);
    const QStringList Args = App.arguments();
    if (Args.size() > 2 || (Args.size() == 2 && Args[1].startsWith(QLatin1Char('-')))) {
        std::fprintf(stderr, "usage: varnholt-tsql-texts [FILE]\n");
        return 2;
    }
    TSqlServerTexts Texts;
    AddSqlServerTexts(Texts);
    QFile Out;
    if (!OpenOutput(Out, Args) || !Texts.WriteJsonLines(Out) || !Out.flush()) {
        std::fprintf(stderr, "varnholt-tsql-texts: cannot write %s\n",
                     qPrintable(Args.size() == 2 ? Args[1] : QStringLiteral("standard output")));
        return 1;
    }
    std::fprintf(stderr, "%lld SQL Server texts from %d selections\n",
                 static_cast<long long>(Texts.Entries().size()), Texts.Selections());
    return 0;
}
