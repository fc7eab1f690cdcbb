#include "HostOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <iterator>
#include <limits>

namespace {

// The host's own options; the host context's come from HostContextOptions.
const TOptionSpec Specs[] = {
    {"plugin", "Path of the plug-in library (default: libvarnholt.so beside the host).", "path"},
    {"ini", "Settings INI file.", "path"},
    {"registry", "Settings registry key path.", "key"},
    {"storage", "Settings store: 0 INI file, 1 registry (default: 0).", "kind"},
    {"reg-root", "Registry root 0..5 (default: 0, current user).", "root"},
    {"plugin-id", "Identifier handed to the plug-in (default: 1).", "id"},
    {"screenshot", "Save a screenshot of the main window to this PNG file.", "file"},
    {"quit-after", "Quit after this many milliseconds.", "ms"},
};

const TOptionSpec* FindSpec(const QString& AName, const TOptionSpec* ASpecs, int ACount) {
    for (int I = 0; I < ACount; ++I)
        if (AName == QLatin1String(ASpecs[I].Name))
            return &ASpecs[I];
    return nullptr;
}

// The description of a host option spelled -name, --name, -name=value or
// --name=value; nullptr for anything else. "open" is the one flag.
const TOptionSpec* OwnOption(const QString& AArgument, bool& AFlag) {
    static const TOptionSpec Open{"open", "", nullptr};
    if (!AArgument.startsWith(QLatin1Char('-')))
        return nullptr;
    const QString Name = AArgument.mid(AArgument.startsWith(QLatin1String("--")) ? 2 : 1)
                             .section(QLatin1Char('='), 0, 0);
    AFlag = Name == QLatin1String(Open.Name);
    if (AFlag)
        return &Open;
    int ContextCount = 0;
    const TOptionSpec* Context = HostContextOptionSpecs(ContextCount);
    if (const TOptionSpec* Spec = FindSpec(Name, Context, ContextCount))
        return Spec;
    return FindSpec(Name, Specs, int(std::size(Specs)));
}

QString DefaultPlugInPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libvarnholt.so"));
}

bool ReadNumbers(const TOptionSource& ASource, HostOptions& AOptions, QString& AError) {
    constexpr int Most = std::numeric_limits<int>::max();
    int PlugInId = 1;
    const bool Ok = ASource.Number("storage", 0, 0, 1, AOptions.StorageKind, AError) &&
                    ASource.Number("reg-root", 0, 0, 5, AOptions.RegRoot, AError) &&
                    ASource.Number("plugin-id", 1, 0, Most, PlugInId, AError) &&
                    ASource.Number("quit-after", 0, 0, Most, AOptions.QuitAfterMs, AError);
    AOptions.PlugInId = static_cast<unsigned>(PlugInId);
    return Ok;
}
} // namespace

HostOptionsResult ParseHostOptions(const QStringList& AArguments) {
    HostOptionsResult Result;
    QCommandLineParser Parser;
    Parser.setApplicationDescription(
        QStringLiteral("Reference host of the payment-scope report plug-in."));
    Parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    Parser.addHelpOption();
    AddHostContextOptions(Parser);
    AddOptions(Parser, Specs, int(std::size(Specs)));
    Parser.addOption(QCommandLineOption(QStringLiteral("open"),
                                        QStringLiteral("Open the report window at start.")));
    if (!ParseArguments(Parser, AArguments, Result.Error, Result.HelpShown))
        return Result;
    const QString ConfigFile = Parser.value(QStringLiteral("config"));
    Result.Error = CheckConfigFile(ConfigFile);
    if (!Result.Error.isEmpty())
        return Result;
    const TOptionSource Source(Parser, ConfigFile);
    Result.Error = Source.ConfigError();
    if (!Result.Error.isEmpty())
        return Result;
    HostOptions& O = Result.Options;
    O.PlugInPath = Source.Text("plugin", DefaultPlugInPath());
    O.SettingsIni = Source.Text("ini");
    O.SettingsRegistryKey = Source.Text("registry");
    O.ScreenshotPath = Source.Text("screenshot");
    O.OpenAtStart = Parser.isSet(QStringLiteral("open"));
    if (!ReadHostContextOptions(Source, O, Result.Error))
        return Result;
    ReadNumbers(Source, O, Result.Error);
    return Result;
}

QStringList TakeHostArguments(int& AArgc, char** AArgv) {
    QStringList Taken;
    int Kept = 1;
    bool OptionsEnded = false; // after "--" everything is an argument
    for (int Index = 1; Index < AArgc; ++Index) {
        const QString Argument = QString::fromLocal8Bit(AArgv[Index]);
        OptionsEnded = OptionsEnded || Argument == QLatin1String("--");
        bool Flag = false;
        const TOptionSpec* Spec = OptionsEnded ? nullptr : OwnOption(Argument, Flag);
        if (Spec == nullptr) {
            AArgv[Kept++] = AArgv[Index];
            continue;
        }
        Taken << Argument;
        if (!Flag && !Argument.contains(QLatin1Char('=')) && Index + 1 < AArgc)
            Taken << QString::fromLocal8Bit(AArgv[++Index]);
    }
    AArgc = Kept;
    AArgv[Kept] = nullptr;
    return Taken;
}
