// varnholt-batch: writes the summary proposal table and every fund nature's
// detail table of one selection as workbooks and PDF files, without a
// display, and audits each table. Exit codes: 0 written, 1 a failure (said
// on standard error), 2 unusable options, 3 written but an audit found a
// difference without a known cause; a run ended by a signal ends as the
// signal ends it, leaving no half-written file.

#include "TBatchHost.h"
#include "TBatchOptions.h"
#include "TBatchRun.h"
#include "TInterruptCleanup.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

// What Qt says on its own (a runtime folder it had to make up, a font it
// substitutes) is not the clerk's business and would drown the tool's own
// lines; VARNHOLT_QT_MESSAGES=1 lets it through for a developer.
void QuietQt(QtMsgType AType, const QMessageLogContext&, const QString& AMessage) {
    if (AType == QtFatalMsg || qEnvironmentVariableIntValue("VARNHOLT_QT_MESSAGES") == 1)
        std::fprintf(stderr, "%s\n", AMessage.toLocal8Bit().constData());
}

void Print(std::FILE* AStream, const QString& AText) {
    std::fprintf(AStream, "%s", AText.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv) {
    // Tables are laid out and printed with fonts but never shown: a GUI
    // application without widgets on the offscreen platform, whatever the
    // environment names, so no display is ever needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQt);
    QGuiApplication App(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("varnholt-batch"));

    const TBatchOptionsResult Parsed = ParseBatchOptions(QGuiApplication::arguments());
    if (Parsed.HelpShown) {
        Print(stdout, Parsed.Error);
        return 0;
    }
    if (!Parsed.Error.isEmpty()) {
        Print(stderr, QStringLiteral("varnholt-batch: %1\n").arg(Parsed.Error));
        return 2;
    }
    if (Parsed.Options.CheckOnly)
        return 0;
    const TInterruptCleanup Cleanup;
    bool OutputClosed = false;
    int ExitCode = 1;
    {
        const TBatchHost Host(Parsed.Options);
        TBatchRun Run(Parsed.Options, stdout, stderr);
        ExitCode = Run.Run();
        OutputClosed = Run.OutputClosed();
    }
    // Everything the run held is let go by now: its files are removed or
    // moved in.
    if (OutputClosed)
        TInterruptCleanup::EndByClosedOutput();
    return ExitCode;
}
