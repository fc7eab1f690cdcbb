#include "TBatchOptions.h"

#include "TBatchOutputFolder.h"
#include "TQueryThreads.h"

#include <QCommandLineParser>
#include <algorithm>
#include <iterator>

namespace {

const TOptionSpec Specs[] = {
    {"subtype",
     "预算数的指标子类型：0 当年预算，1 结余预算，2 追加预算（默认 0；其他指标类型不用）", "序号"},
    {"node", "要选定的单位树节点的单位编码（默认：树的顶层节点）", "编码"},
    {"out", "报表写到的文件夹（没有时建立）", "文件夹"},
    {"format", "写出什么：xlsx、pdf，或两者 xlsx,pdf（默认两者）", "列表"},
    {"each-unit", "逐个写出选定节点之下每个单位的报表，每个单位一个子文件夹（以编码和名称命名）",
     ""},
    {"replace",
     "输出文件夹中已有另一选择（单位、年度、类型、子类型）的报表时，用本次的整套报表替换"
     "（本次写好后删除原有的整套报表；不加时拒绝写入）",
     ""},
    {"wait", "另一次运行正在使用输出文件夹时，最多等多少秒（默认 10）", "秒"},
    {"connections", "同时查询各张表所用的只读数据库连接数（默认 2，最多 8）", "数目"},
    {"check-options", "只检查选项是否可用，然后退出：不连接数据库，也不写文件", ""},
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
    return TBatchOutputFolder::PathProblem(O.OutputFolder);
}

} // namespace

QString BatchHelpText() {
    int HostCount = 0;
    const TOptionSpec* HostSpecs = HostContextOptionSpecs(HostCount);
    return QStringLiteral("用法：varnholt-batch --connection <连接串> --out <文件夹> [选项]\n\n"
                          "不用显示器，把选定范围的汇总建议表和每种有数据的资金性质的明细建议表"
                          "写成工作簿（.xlsx）和 PDF，并审核每张表。\n\n"
                          "选项：\n") +
           OptionHelpLines(HostSpecs, HostCount) + OptionHelpLines(Specs, int(std::size(Specs))) +
           QStringLiteral("  -h, --help            显示本说明\n\n"
                          "退出码：0 已写出；1 失败（原因写在标准错误上）；2 选项不可用；"
                          "3 已写出，但有的表审核未通过。\n");
}

TBatchOptionsResult ParseBatchOptions(const QStringList& AArguments) {
    TBatchOptionsResult Result;
    QCommandLineParser Parser;
    Parser.addHelpOption();
    AddHostContextOptions(Parser);
    AddOptions(Parser, Specs, int(std::size(Specs)));
    if (!ParseArguments(Parser, AArguments, Result.Error, Result.HelpShown)) {
        if (Result.HelpShown)
            Result.Error = BatchHelpText();
        return Result;
    }
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
    O.SubTypeGiven = !Source.Text("subtype").isEmpty();
    O.CheckOnly = Parser.isSet(QStringLiteral("check-options"));
    O.EachUnit = Parser.isSet(QStringLiteral("each-unit"));
    O.Replace = Parser.isSet(QStringLiteral("replace"));
    O.OneThread = qEnvironmentVariableIntValue("VARNHOLT_BATCH_THREADS") == 1;
    if (!ReadHostContextOptions(Source, O, Result.Error) ||
        !Source.Number("subtype", 0, 0, 2, O.SubTypeIndex, Result.Error) ||
        !Source.Number("wait", 10, 0, 3600, O.WaitSeconds, Result.Error) ||
        !Source.Number("connections", 2, 1, TQueryThreads::MaxThreads, O.Connections,
                       Result.Error) ||
        !ReadFormats(Source.Text("format", QStringLiteral("xlsx,pdf")), O, Result.Error))
        return Result;
    Result.Error = CheckRequired(O);
    return Result;
}
