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
#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

// What a run is told; each option's name is also its key on the command line.
struct TDemoOption {
    const char* Name;
    const char* ValueName; // empty for a flag
    QString Description;
};

QList<TDemoOption> DemoOptions(const TDemoOptions& ADefaults) {
    return {
        {"units", "个数", QStringLiteral("单位表中的单位个数（默认 %1）").arg(ADefaults.Units)},
        {"rows", "行数",
         QStringLiteral("指标调整的行数（默认 %1，至多 %2）").arg(ADefaults.Rows).arg(MaxDemoRows)},
        {"seed", "种子", QStringLiteral("随机数种子（默认 %1）").arg(ADefaults.Seed)},
        {"first-year", "年度",
         QStringLiteral("第一个预算年度（默认 %1）").arg(ADefaults.FirstYear)},
        {"years", "年数", QStringLiteral("预算年度的个数（默认 %1）").arg(ADefaults.Years)},
        {"connection", "连接串",
         QStringLiteral("不写文件，写到这个连接串所指的数据库：Provider=PostgreSQL;Host=…;"
                        "Port=…;Database=…;User ID=…;Password=…（数据库不存在时建立），"
                        "或 Provider=SQLite;Data Source=<文件>")},
        {"replace", "",
         QStringLiteral("与 --connection 一起用：数据库里已有演示数据的表和视图时删掉重建"
                        "（不加时拒绝写入）")},
    };
}

int TerminalColumns(const QString& AText) {
    int Width = 0;
    for (const QChar C : AText)
        Width += C.unicode() >= 0x1100 ? 2 : 1;
    return Width;
}

QString HelpText(const QList<TDemoOption>& AOptions) {
    QString Text = QStringLiteral(
        "用法：varnholt-demo-db <数据库文件> [选项]\n"
        "      varnholt-demo-db --connection <连接串> [--replace] [选项]\n\n"
        "为支付范围划分建议表插件生成确定的演示省份数据库（SQLite 文件或 PostgreSQL 数据库）；"
        "同样的选项和种子总是得到同样的数据。已有的同名文件被替换。\n\n"
        "选项：\n");
    for (const TDemoOption& Option : AOptions) {
        QString Name = QStringLiteral("  --") + QString::fromLatin1(Option.Name);
        if (*Option.ValueName)
            Name += QStringLiteral(" <%1>").arg(QString::fromUtf8(Option.ValueName));
        Name += QString(std::max(1, 24 - TerminalColumns(Name)), QLatin1Char(' '));
        Text += Name + Option.Description + QLatin1Char('\n');
    }
    return Text + QStringLiteral("  -h, --help            显示本说明\n\n"
                                 "退出码：0 已写出；1 失败；2 选项不可用。\n");
}

void Say(std::FILE* AStream, const QString& AText) {
    std::fprintf(AStream, "%s\n", AText.toUtf8().constData());
}

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
        Say(stderr,
            QStringLiteral("varnholt-demo-db: 选项 --%1 需要 %2 到 %3 之间的整数，而不是“%4”")
                .arg(Name)
                .arg(AMin)
                .arg(AMax)
                .arg(AParser.value(Name)));
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
    const QList<TDemoOption> Offered = DemoOptions(Options);
    QCommandLineParser Parser;
    Parser.addHelpOption();
    for (const TDemoOption& Option : Offered)
        Parser.addOption({QString::fromLatin1(Option.Name), Option.Description,
                          QString::fromUtf8(Option.ValueName)});
    if (!Parser.parse(App.arguments())) {
        const QStringList Unknown = Parser.unknownOptionNames();
        Say(stderr,
            Unknown.isEmpty()
                ? QStringLiteral("varnholt-demo-db: 命令行有误：%1").arg(Parser.errorText())
                : QStringLiteral("varnholt-demo-db: 不认识的选项：--%1（--help 列出可用的选项）")
                      .arg(Unknown.join(QStringLiteral("、--"))));
        return 2;
    }
    if (Parser.isSet(QStringLiteral("help"))) {
        std::fputs(HelpText(Offered).toUtf8().constData(), stdout);
        return 0;
    }

    const QStringList Positional = Parser.positionalArguments();
    const bool ToConnection = Parser.isSet(QStringLiteral("connection"));
    if (Positional.size() != (ToConnection ? 0 : 1)) {
        Say(stderr, QStringLiteral("varnholt-demo-db: 要给出一个数据库文件，或者 --connection"
                                   "（--help 显示用法）"));
        return 2;
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
        Say(stderr, QStringLiteral("varnholt-demo-db: 最后一个预算年度 %1 超过了 %2")
                        .arg(FirstYear + Years - 1)
                        .arg(MaxDemoYear));
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
        Say(stdout, QStringLiteral("%1：%2 个部门，%3 个单位，%4 个指标，%5 行指标调整，用时 %6 秒")
                        .arg(Summary.Target)
                        .arg(Summary.Departments)
                        .arg(Summary.Units)
                        .arg(Summary.Indicators)
                        .arg(Summary.Rows)
                        .arg(double(Timer.elapsed()) / 1000.0, 0, 'f', 1));
    } catch (const std::exception& Error) {
        Say(stderr, QStringLiteral("varnholt-demo-db: %1").arg(QString::fromUtf8(Error.what())));
        return 1;
    }
    return 0;
}
