#include "TBatchOptions.h"

#include <QCommandLineParser>
#include <iterator>

namespace {

const TOptionSpec Specs[] = {
    {"subtype", "Indicator sub-type of 预算数: 0 当年预算, 1 结余预算, 2 追加预算 (default: 0).",
     "index"},
    {"node", "Unit code of the unit-tree node to select (default: the top node).", "code"},
    {"out", "Folder the tables are written to (made when missing).", "folder"},
    {"format", "What to write: xlsx, pdf or both as xlsx,pdf (default: xlsx,pdf).", "list"},
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
    AddHostContextOptions(Parser);
    AddOptions(Parser, Specs, int(std::size(Specs)));
    if (!ParseArguments(Parser, AArguments, Result.Error, Result.HelpShown))
        return Result;
    if (!Parser.positionalArguments().isEmpty()) {
        Result.Error = QStringLiteral("多余的参数：%1").arg(Parser.positionalArguments().join(' '));
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
    TBatchOptions& O = Result.Options;
    O.NodeCode = Source.Text("node");
    O.OutputFolder = Source.Text("out");
    if (!ReadHostContextOptions(Source, O, Result.Error) ||
        !Source.Number("subtype", 0, 0, 2, O.SubTypeIndex, Result.Error) ||
        !ReadFormats(Source.Text("format", QStringLiteral("xlsx,pdf")), O, Result.Error))
        return Result;
    Result.Error = CheckRequired(O);
    return Result;
}
