#include "HostOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <limits>

namespace {
struct OptionSpec {
    const char* Name;
    const char* Description;
    const char* ValueName;
};

// Option names double as keys of the [host] section of a config file.
const OptionSpec Specs[] = {
    {"plugin", "Path of the plug-in library (default: libvarnholt.so beside the host).", "path"},
    {"connection", "ADO-style connection string, e.g. Provider=SQLite;Data Source=demo.db.",
     "string"},
    {"year", "Budget year (default: this year).", "year"},
    {"unit", "Logged-in unit code (default: 101001).", "code"},
    {"unit-class", "Department class of the logged-in unit (default: 1).", "n"},
    {"dept-mode", "Department mode flag, \"1\" for on (default: 1).", "flag"},
    {"btype", "Default indicator type: 0 control figures, 1 budget, 2 temporary (default: 1).",
     "index"},
    {"templates", "Folder of the report templates (default: templates/ beside the host).",
     "folder"},
    {"ini", "Settings INI file.", "path"},
    {"registry", "Settings registry key path.", "key"},
    {"storage", "Settings store: 0 INI file, 1 registry (default: 0).", "kind"},
    {"reg-root", "Registry root 0..5 (default: 0, current user).", "root"},
    {"plugin-id", "Identifier handed to the plug-in (default: 1).", "id"},
    {"screenshot", "Save a screenshot of the main window to this PNG file.", "file"},
    {"quit-after", "Quit after this many milliseconds.", "ms"},
    {"config", "Read options from the [host] section of this INI file.", "file"},
};

// The description of a host option spelled -name, --name, -name=value or
// --name=value; nullptr for anything else. "open" is the one flag.
const OptionSpec* OwnOption(const QString& AArgument, bool& AFlag) {
    static const OptionSpec Open{"open", "", nullptr};
    if (!AArgument.startsWith(QLatin1Char('-')))
        return nullptr;
    const QString Name = AArgument.mid(AArgument.startsWith(QLatin1String("--")) ? 2 : 1)
                             .section(QLatin1Char('='), 0, 0);
    AFlag = Name == QLatin1String(Open.Name);
    if (AFlag)
        return &Open;
    for (const OptionSpec& Spec : Specs)
        if (Name == QLatin1String(Spec.Name))
            return &Spec;
    return nullptr;
}

QString DefaultPlugInPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libvarnholt.so"));
}

QString DefaultTemplateFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("templates")) +
           QLatin1Char('/');
}

// The value of an option: the command line first, then the config file,
// then the default.
class OptionSource {
public:
    OptionSource(const QCommandLineParser& AParser, const QString& AConfigFile)
        : FParser(AParser) {
        if (!AConfigFile.isEmpty())
            FConfig.emplace(AConfigFile, QSettings::IniFormat);
    }

    QString Text(const char* AName, const QString& ADefault = QString()) const {
        const QString Name = QString::fromLatin1(AName);
        if (FParser.isSet(Name))
            return FParser.value(Name);
        if (FConfig && FConfig->contains(QStringLiteral("host/") + Name))
            return FConfig->value(QStringLiteral("host/") + Name).toString();
        return ADefault;
    }

    std::optional<int> Number(const char* AName, int ADefault, QString& AError) const {
        const QString Value = Text(AName);
        if (Value.isEmpty())
            return ADefault;
        bool Ok = false;
        const int Result = Value.toInt(&Ok);
        if (!Ok) {
            AError = QStringLiteral("选项 --%1 需要一个整数，而不是“%2”")
                         .arg(QString::fromLatin1(AName), Value);
            return std::nullopt;
        }
        return Result;
    }

private:
    const QCommandLineParser& FParser;
    std::optional<QSettings> FConfig;
};

bool ReadNumbers(const OptionSource& ASource, HostOptions& AOptions, QString& AError) {
    struct NumberField {
        const char* Name;
        int* Target;
        int Default;
        int Min;
        int Max;
    };
    int PlugInId = 1;
    const NumberField Fields[] = {
        {"year", &AOptions.DataYear, QDate::currentDate().year(), 1000, 9999},
        {"unit-class", &AOptions.UnitClass, 1, 0, 99},
        {"btype", &AOptions.DefBTypeIndex, 1, 0, 2},
        {"storage", &AOptions.StorageKind, 0, 0, 1},
        {"reg-root", &AOptions.RegRoot, 0, 0, 5},
        {"plugin-id", &PlugInId, 1, 0, std::numeric_limits<int>::max()},
        {"quit-after", &AOptions.QuitAfterMs, 0, 0, std::numeric_limits<int>::max()},
    };
    for (const NumberField& Field : Fields) {
        const std::optional<int> Value = ASource.Number(Field.Name, Field.Default, AError);
        if (!Value)
            return false;
        if (*Value < Field.Min || *Value > Field.Max) {
            AError = QStringLiteral("选项 --%1 需要 %2 到 %3 之间的整数，而不是 %4")
                         .arg(QString::fromLatin1(Field.Name))
                         .arg(Field.Min)
                         .arg(Field.Max)
                         .arg(*Value);
            return false;
        }
        *Field.Target = *Value;
    }
    AOptions.PlugInId = static_cast<unsigned>(PlugInId);
    return true;
}

// A config file must be a regular file: QSettings reads a folder as empty
// without a word and would block on a FIFO.
QString CheckConfigFile(const QString& AFileName) {
    if (AFileName.isEmpty())
        return QString();
    const QFileInfo Info(AFileName);
    if (!Info.exists())
        return QStringLiteral("找不到配置文件 %1").arg(AFileName);
    if (!Info.isFile())
        return QStringLiteral("配置文件 %1 不是普通文件").arg(AFileName);
    return QString();
}
} // namespace

HostOptionsResult ParseHostOptions(const QStringList& AArguments) {
    HostOptionsResult Result;
    QCommandLineParser Parser;
    Parser.setApplicationDescription(
        QStringLiteral("Reference host of the payment-scope report plug-in."));
    Parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    Parser.addHelpOption();
    for (const OptionSpec& Spec : Specs) {
        Parser.addOption(QCommandLineOption(QString::fromLatin1(Spec.Name),
                                            QString::fromLatin1(Spec.Description),
                                            QString::fromLatin1(Spec.ValueName)));
    }
    Parser.addOption(QCommandLineOption(QStringLiteral("open"),
                                        QStringLiteral("Open the report window at start.")));
    if (!Parser.parse(AArguments)) {
        Result.Error = Parser.errorText();
        return Result;
    }
    if (Parser.isSet(QStringLiteral("help"))) {
        Result.HelpShown = true;
        Result.Error = Parser.helpText();
        return Result;
    }
    const QString ConfigFile = Parser.value(QStringLiteral("config"));
    Result.Error = CheckConfigFile(ConfigFile);
    if (!Result.Error.isEmpty())
        return Result;
    const OptionSource Source(Parser, ConfigFile);
    HostOptions& O = Result.Options;
    O.PlugInPath = Source.Text("plugin", DefaultPlugInPath());
    O.ConnectionString = Source.Text("connection");
    O.UnitCode = Source.Text("unit", QStringLiteral("101001"));
    O.DeptModeFlag = Source.Text("dept-mode", QStringLiteral("1"));
    O.TemplateFolder = Source.Text("templates", DefaultTemplateFolder());
    O.SettingsIni = Source.Text("ini");
    O.SettingsRegistryKey = Source.Text("registry");
    O.ScreenshotPath = Source.Text("screenshot");
    O.OpenAtStart = Parser.isSet(QStringLiteral("open"));
    if (!ReadNumbers(Source, O, Result.Error))
        return Result;
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
        const OptionSpec* Spec = OptionsEnded ? nullptr : OwnOption(Argument, Flag);
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
