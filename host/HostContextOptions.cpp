#include "HostContextOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <iterator>

namespace {

const TOptionSpec Specs[] = {
    {"connection", "数据库连接串，如 Provider=SQLite;Data Source=demo.db", "连接串"},
    {"year", "预算年度（默认：今年）", "年度"},
    {"unit", "登录单位的单位编码（默认 101001）", "编码"},
    {"unit-class", "登录单位的部门类别（默认 1）", "类别"},
    {"dept-mode", "部门模式，\"1\" 为开（默认 1）", "标志"},
    {"btype", "指标类型：0 控制数，1 预算数，2 临时指标（默认 1）", "序号"},
    {"templates", "报表模板所在的文件夹（默认：程序旁的 templates/）", "文件夹"},
    {"config", "从这个 INI 文件的 [host] 节读取选项", "文件"},
};

QString DefaultTemplateFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("templates")) +
           QLatin1Char('/');
}

} // namespace

const TOptionSpec* HostContextOptionSpecs(int& ACount) {
    ACount = int(std::size(Specs));
    return Specs;
}

void AddHostContextOptions(QCommandLineParser& AParser) {
    AddOptions(AParser, Specs, int(std::size(Specs)));
}

bool ReadHostContextOptions(const TOptionSource& ASource, THostContextOptions& O, QString& AError) {
    O.ConnectionString = ASource.Text("connection");
    O.UnitCode = ASource.Text("unit", QStringLiteral("101001"));
    O.DeptModeFlag = ASource.Text("dept-mode", QStringLiteral("1"));
    O.TemplateFolder = ASource.Text("templates", DefaultTemplateFolder());
    // The report appends template file names to the folder as it stands, as
    // hosts give it; a folder named without its closing separator gets one.
    if (!O.TemplateFolder.endsWith(QLatin1Char('/')) && QFileInfo(O.TemplateFolder).isDir())
        O.TemplateFolder += QLatin1Char('/');
    return ASource.Number("year", QDate::currentDate().year(), 1000, 9999, O.DataYear, AError) &&
           ASource.Number("unit-class", 1, 0, 99, O.UnitClass, AError) &&
           ASource.Number("btype", 1, 0, 2, O.DefBTypeIndex, AError);
}
