#include "TBatchOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <optional>

namespace {

struct TOptionSpec {
    const char* Name;
    const char* Description;
    const char* ValueName;
};

// The reference host's options, then the batch tool's own. Names double as
// keys of the [host] section of a config file.
const TOptionSpec Specs[] = {
    {"connection", "ADO-style connection string, e.g. Provider=SQLite;Data Source=demo.db.",
     "string"},
    {"year", "Budget year (default: this year).", "year"},
    {"unit", "Logged-in unit code (default: 101001).", "code"},
    {"unit-class", "Department class of the logged-in unit (default: 1).", "n"},
    {"dept-mode", "Department mode flag, \"1\" for on (default: 1).", "flag"},
    {"btype", "Indicator type: 0 控制数, 1 预算数, 2 临时指标 (default: 1).", "index"},
    {"templates", "Folder of the report templates (default: templates/ beside the tool).",
     "folder"},
    {"config", "Read options from the [host] section of this INI file.", "file"},
    {"subtype", "Indicator sub-type of 预算数: 0 当年预算, 1 结余预算, 2 追加预算 (default: 0).",
     "index"},
    {"node", "Unit code of the unit-tree node to select (default: the top node).", "code"},
    {"out", "Folder the tables are written to (made when missing).", "folder"},
    {"format", "What to write: xlsx, pdf or both as xlsx,pdf (default: xlsx,pdf).", "list"},
};

class TOptionSource {
public:
    TOptionSource(const QCommandLineParser& AParser, const QString& AConfigFile)
        : FParser(AParser) {
        if (!AConfigFile.isEmpty())
            FConfig.emplace(AConfigFile, QSettings::IniFormat);
    }

    QString Text(const char* AName, const QString& ADefault = QString()) const {
        const QString Name = QString::fromLatin1(AName);
        if (FParser.isSet(Name))
            return FParser.value(Name);
        const QString Key = QStringLiteral("host/") + Name;
        if (FConfig && FConfig->contains(Key))
            return FConfig->value(Key).toString();
        return ADefault;
    }

    // A whole number from AMin to AMax, or the default when not given.
    bool Number(const char* AName, int AMin, int AMax, int& AValue, QString& AError) const {
        const QString Value = Text(AName);
        if (Value.isEmpty())
            return true;
        bool Ok = false;
        const qlonglong Number = Value.toLongLong(&Ok);
        if (!Ok || Number < AMin || Number > AMax) {
            AError = QStringLiteral("选项 --%1 需要 %2 到 %3 之间的整数，而不是“%4”")
                         .arg(QString::fromLatin1(AName))
                         .arg(AMin)
                         .arg(AMax)
                         .arg(Value);
            return false;
        }
        AValue = int(Number);
        return true;
    }

private:
    const QCommandLineParser& FParser;
    std::optional<QSettings> FConfig;
};

bool ReadFormats(const QString& AList, TBatchOptions& AOptions, QString& AError) {
    AOptions.WriteXlsx = AOptions.WritePdf = false;
    for (const QString& Format : AList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString Name = Format.trimmed().toLower();
        if (Name == QLatin1String("xlsx"))
            AOptions.WriteXlsx = true;
        else if (Name == QLatin1String("pdf"))
            AOptions.WritePdf = true;
        else {
            AError = QStringLiteral("选项 --format 只认 xlsx 和 pdf，而不是“%1”").arg(Format);
            return false;
        }
    }
    if (!AOptions.WriteXlsx && !AOptions.WritePdf) {
        AError = QStringLiteral("选项 --format 至少要有 xlsx 或 pdf");
        return false;
    }
    return true;
}

QString DefaultTemplateFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("templates")) +
           QLatin1Char('/');
}

void ReadTexts(const TOptionSource& ASource, TBatchOptions& O) {
    O.ConnectionString = ASource.Text("connection");
    O.UnitCode = ASource.Text("unit", QStringLiteral("101001"));
    O.DeptModeFlag = ASource.Text("dept-mode", QStringLiteral("1"));
    O.TemplateFolder = ASource.Text("templates", DefaultTemplateFolder());
    O.NodeCode = ASource.Text("node");
    O.OutputFolder = ASource.Text("out");
}

bool ReadNumbers(const TOptionSource& ASource, TBatchOptions& O, QString& AError) {
    O.DataYear = QDate::currentDate().year();
    return ASource.Number("year", 1, 9999, O.DataYear, AError) &&
           ASource.Number("unit-class", 0, 999999, O.UnitClass, AError) &&
           ASource.Number("btype", 0, 2, O.BTypeIndex, AError) &&
           ASource.Number("subtype", 0, 2, O.SubTypeIndex, AError);
}

QString CheckRequired(const TBatchOptions& O) {
    if (O.ConnectionString.isEmpty())
        return QStringLiteral("缺少选项 --connection（数据库连接串）");
    if (O.OutputFolder.isEmpty())
        return QStringLiteral("缺少选项 --out（输出文件夹）");
    if (O.UnitCode.isEmpty())
        return QStringLiteral("选项 --unit 不能为空");
    return QString();
}

} // namespace

TBatchOptionsResult ParseBatchOptions(const QStringList& AArguments) {
    TBatchOptionsResult Result;
    QCommandLineParser Parser;
    Parser.setApplicationDescription(
        QStringLiteral("Writes the summary proposal table and every fund nature's detail table "
                       "of one selection as workbooks and PDF files, without a display."));
    Parser.addHelpOption();
    for (const TOptionSpec& Spec : Specs)
        Parser.addOption({QString::fromLatin1(Spec.Name), QString::fromUtf8(Spec.Description),
                          QString::fromLatin1(Spec.ValueName)});
    if (!Parser.parse(AArguments)) {
        Result.Error = Parser.errorText();
        return Result;
    }
    if (Parser.isSet(QStringLiteral("help"))) {
        Result.HelpShown = true;
        Result.Error = Parser.helpText();
        return Result;
    }
    if (!Parser.positionalArguments().isEmpty()) {
        Result.Error = QStringLiteral("多余的参数：%1").arg(Parser.positionalArguments().join(' '));
        return Result;
    }
    const QString ConfigFile = Parser.value(QStringLiteral("config"));
    if (!ConfigFile.isEmpty() && !QFileInfo(ConfigFile).isFile()) {
        Result.Error = QStringLiteral("找不到配置文件 %1").arg(ConfigFile);
        return Result;
    }
    const TOptionSource Source(Parser, ConfigFile);
    TBatchOptions& O = Result.Options;
    ReadTexts(Source, O);
    if (!ReadNumbers(Source, O, Result.Error) ||
        !ReadFormats(Source.Text("format", QStringLiteral("xlsx,pdf")), O, Result.Error))
        return Result;
    Result.Error = CheckRequired(O);
    return Result;
}
