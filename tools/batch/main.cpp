// varnholt-batch: writes the summary proposal table and every fund nature's
// detail table of one selection as workbooks and PDF files, without a
// display. Exit codes: 0 written, 1 a failure (said on standard error), 2
// unusable options, 3 written but an audit found a difference without a
// known cause.

#include "TBatchHost.h"
#include "TBatchOptions.h"
#include "TBatchRun.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // Tables are laid out and printed with fonts but never shown: a GUI
    // application without widgets on the offscreen platform, whatever the
    // environment names, so no display is ever needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("varnholt-batch"));

    const TBatchOptionsResult Parsed = ParseBatchOptions(QGuiApplication::arguments());
    if (Parsed.HelpShown) {
        std::printf("%s", Parsed.Error.toLocal8Bit().constData());
        return 0;
    }
    if (!Parsed.Error.isEmpty()) {
        std::fprintf(stderr, "varnholt-batch: %s\n", Parsed.Error.toLocal8Bit().constData());
        return 2;
    }
    QElapsedTimer Timer;
    Timer.start();
    const TBatchHost Host(Parsed.Options);
    TBatchRun Run(Parsed.Options, stdout, stderr);
    const int Result = Run.Run();
    if (Result == 0 || Result == 3)
        std::printf("%s\n", QStringLiteral("完成：%1 张表，%2 行，用时 %3 秒")
                                .arg(Run.Tables())
                                .arg(Run.Rows())
                                .arg(double(Timer.elapsed()) / 1000.0, 0, 'f', 1)
                                .toLocal8Bit()
                                .constData());
    return Result;
}
