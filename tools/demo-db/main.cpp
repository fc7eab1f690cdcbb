// varnholt-demo-db: writes a demo province database for the report plug-in.
//
//   varnholt-demo-db out.db [--units N] [--rows M] [--seed S]
//                           [--first-year Y] [--years K]
//   varnholt-demo-db --connection "Provider=PostgreSQL;Host=..;Database=.."
//                    [--replace] [options as above]

#include "DemoData.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <stdexcept>

namespace {

// A whole number in [AMin, AMax]; anything else is refused with a message
// that names the option and the range, never cut down to fit.
bool ReadNumber(const QCommandLineParser& AParser, const char* AName, qint64 AMin, qint64 AMax,
                qint64& AValue) {
    const QString Name = QString::fromLatin1(AName);
    if (!AParser.isSet(Name))
        return true;
    bool Ok = false;
    const qint64 Value = AParser.value(Name).toLongLong(&Ok);
    if (!Ok || Value < AMin || Value > AMax) {
        std::fprintf(stderr,
                     "varnholt-demo-db: --%s needs a whole number from %lld to %lld, not \"%s\"\n",
                     AName, static_cast<long long>(AMin), static_cast<long long>(AMax),
                     qPrintable(AParser.value(Name)));
        return false;
    }
    AValue = Value;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication App(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varnholt-demo-db"));

    TDemoOptions Options;
    QCommandLineParser Parser;
    Parser.setApplicationDescription(
        QStringLiteral("Writes a deterministic demo province database (SQLite) for the "
                       "payment-scope report plug-in."));
    Parser.addHelpOption();
    Parser.addPositionalArgument(QStringLiteral("output"),
                                 QStringLiteral("Database file to write (replaced if present)."));
    Parser.addOption({QStringLiteral("units"),
                      QStringLiteral("Units in pubdept (default %1).").arg(Options.Units),
                      QStringLiteral("N")});
    Parser.addOption({QStringLiteral("rows"),
                      QStringLiteral("Rows in busibudgetadj (default %1, at most %2).")
                          .arg(Options.Rows)
                          .arg(MaxDemoRows),
                      QStringLiteral("M")});
    Parser.addOption({QStringLiteral("seed"),
                      QStringLiteral("Random seed (default %1).").arg(Options.Seed),
                      QStringLiteral("S")});
    Parser.addOption({QStringLiteral("first-year"),
                      QStringLiteral("First budget year (default %1).").arg(Options.FirstYear),
                      QStringLiteral("Y")});
    Parser.addOption({QStringLiteral("years"),
                      QStringLiteral("Number of budget years (default %1).").arg(Options.Years),
                      QStringLiteral("K")});
    Parser.addOption({QStringLiteral("connection"),
                      QStringLiteral("Write to the database this ADO-style connection string "
                                     "names instead of a file: Provider=PostgreSQL;Host=..;"
                                     "Port=..;Database=..;User ID=..;Password=.. (the database "
                                     "is created when missing) or Provider=SQLite;Data "
                                     "Source=<file>."),
                      QStringLiteral("string")});
    Parser.addOption({QStringLiteral("replace"),
                      QStringLiteral("With --connection: drop the demo tables and view when the "
                                     "database already holds them (refused otherwise).")});
    Parser.process(App);

    const QStringList Positional = Parser.positionalArguments();
    const bool ToConnection = Parser.isSet(QStringLiteral("connection"));
    if (Positional.size() != (ToConnection ? 0 : 1)) {
        std::fprintf(stderr, "varnholt-demo-db: give exactly one output file, or --connection\n");
        Parser.showHelp(2);
    }
    qint64 Units = Options.Units;
    qint64 Rows = Options.Rows;
    qint64 Seed = Options.Seed;
    qint64 FirstYear = Options.FirstYear;
    qint64 Years = Options.Years;
    if (!ReadNumber(Parser, "units", 2, 20000, Units) ||
        !ReadNumber(Parser, "rows", 0, MaxDemoRows, Rows) ||
        !ReadNumber(Parser, "seed", 0, 0xFFFFFFFFll, Seed) ||
        !ReadNumber(Parser, "first-year", 1, MaxDemoYear, FirstYear) ||
        !ReadNumber(Parser, "years", 1, 50, Years))
        return 2;
    if (FirstYear + Years - 1 > MaxDemoYear) {
        std::fprintf(stderr, "varnholt-demo-db: the last budget year %lld is past %d\n",
                     static_cast<long long>(FirstYear + Years - 1), MaxDemoYear);
        return 2;
    }
    Options.Units = int(Units);
    Options.Rows = Rows;
    Options.Seed = quint32(Seed);
    Options.FirstYear = int(FirstYear);
    Options.Years = int(Years);

    QElapsedTimer Timer;
    Timer.start();
    try {
        const TDemoSummary Summary =
            ToConnection ? GenerateDemoAt(Parser.value(QStringLiteral("connection")), Options,
                                          Parser.isSet(QStringLiteral("replace")))
                         : GenerateDemoDatabase(Positional.first(), Options);
        std::printf("%s: %d departments, %d units, %d indicators, %lld adjustments in %.1f s\n",
                    qPrintable(Summary.Target), Summary.Departments, Summary.Units,
                    Summary.Indicators, static_cast<long long>(Summary.Rows),
                    double(Timer.elapsed()) / 1000.0);
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "varnholt-demo-db: %s\n", Error.what());
        return 1;
    }
    return 0;
}
