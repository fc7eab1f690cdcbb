#include "HostOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <iterator>
#include <limits>

namespace {

// The host's own options; the host context's come from HostContextOptions.
const TOptionSpec Specs[] = {
    {"plugin", "插件库文件（默认：程序旁的 libvarnholt.so）", "路径"},
    {"ini", "保存设置的 INI 文件", "路径"},
    {"registry", "保存设置的注册表键路径", "键"},
    {"storage", "设置保存在哪里：0 INI 文件，1 注册表（默认 0）", "序号"},
    {"reg-root", "注册表根键 0 到 5（默认 0，当前用户）", "序号"},
    {"plugin-id", "交给插件的插件编号（默认 1）", "编号"},
    {"screenshot", "把主窗口截图存成这个 PNG 文件", "文件"},
    {"quit-after", "过这么多毫秒后退出", "毫秒"},
    {"open", "启动时打开报表窗口", ""},
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
    static const TOptionSpec Open{"open", "", ""};
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

QString HostHelpText() {
    int ContextCount = 0;
    const TOptionSpec* Context = HostContextOptionSpecs(ContextCount);
    return QStringLiteral("用法：varnholt-host [选项]\n\n"
                          "支付范围划分建议表插件的参考宿主：载入插件，在主窗口中打开报表窗口。\n\n"
                          "选项：\n") +
           OptionHelpLines(Context, ContextCount) + OptionHelpLines(Specs, int(std::size(Specs))) +
           QStringLiteral("  -h, --help            显示本说明\n\n"
                          "退出码：0 正常退出；2 选项不可用；3 插件无法载入；4 截图无法保存。\n");
}

HostOptionsResult ParseHostOptions(const QStringList& AArguments) {
    HostOptionsResult Result;
    QCommandLineParser Parser;
    Parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    Parser.addHelpOption();
    AddHostContextOptions(Parser);
    AddOptions(Parser, Specs, int(std::size(Specs)));
    if (!ParseArguments(Parser, AArguments, Result.Error, Result.HelpShown)) {
        if (Result.HelpShown)
            Result.Error = HostHelpText();
        return Result;
    }
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
