#include "HostContextOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <iterator>

namespace {

const TOptionSpec Specs[] = {
    {"connection", "ADO-style connection string, e.g. Provider=SQLite;Data Source=demo.db.",
     "string"},
    {"year", "Budget year (default: this year).", "year"},
    {"unit", "Logged-in unit code (default: 101001).", "code"},
    {"unit-class", "Department class of the logged-in unit (default: 1).", "n"},
    {"dept-mode", "Department mode flag, \"1\" for on (default: 1).", "flag"},
    {"btype", "Indicator type: 0 控制数, 1 预算数, 2 临时指标 (default: 1).", "index"},
    {"templates", "Folder of the report templates (default: templates/ beside the program).",
     "folder"},
    {"config", "Read options from the [host] section of this INI file.", "file"},
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
