#include "TBatchRun.h"

#include "TBatchOutputFolder.h"
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "db/SqlLiteral.h"
#include "db/TQueryFailureWatch.h"
#include "platform/Exception.h"
#include "platform/data/TADOQuery.h"
#include "platform/data/TAdoConn.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/ReportCodes.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/SummaryLayout.h"
#include "report/tables/TemplateFit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <climits>

namespace {

const QStringList BTypeTexts = {QStringLiteral("控制数"), QStringLiteral("预算数"),
                                QStringLiteral("临时指标")};

// What a file's temporary name adds to it: ".XXXXXX.part".
constexpr int TemporarySuffix = 12;

// Runs ASql on the "Def" connection and raises the database's own error,
// where the report's lookups would quietly count a failure as empty.
void ProbeDatabase(const QString& ASql) {
    TADOQuery Probe;
    Probe.SetConnection(GetDefConnection());
    Probe.SetSQLText(ASql);
    Probe.Open();
}

QString Joined(const QList<int>& AYears) {
    QStringList Texts;
    for (int Year : AYears)
        Texts << QString::number(Year);
    return Texts.join(QStringLiteral("、"));
}

} // namespace

TBatchRun::TBatchRun(const TBatchOptions& AOptions, std::FILE* AOut, std::FILE* AErr)
    : FOptions(AOptions)
    , FOut(AOut)
    , FErr(AErr) {}

TBatchRun::~TBatchRun() = default;

void TBatchRun::Say(const QString& ALine) {
    std::fprintf(FOut, "%s\n", ALine.toLocal8Bit().constData());
    std::fflush(FOut);
}

bool TBatchRun::Fail(const QString& AMessage, int AExitCode) {
    FExitCode = AExitCode;
    std::fprintf(FErr, "varnholt-batch: %s\n", AMessage.toLocal8Bit().constData());
    return false;
}

bool TBatchRun::CheckDatabase() {
    try {
        GetDefConnection()->Open();
        ProbeDatabase(QStringLiteral("select count(*) from pubmoneykind"));
        ProbeDatabase(QStringLiteral("select count(*) from pubdept"));
        ProbeDatabase(QStringLiteral("select count(*) from vwbudgetadj"));
        return true;
    } catch (const Exception& E) {
        return Fail(QStringLiteral("数据库不可用：%1").arg(E.Message()));
    }
}

bool TBatchRun::CheckTemplates() {
    const struct {
        const char* File;
        TTableKind Kind;
    } Templates[] = {{SummaryTemplateFile, TTableKind::Summary},
                     {DetailTemplateFile, TTableKind::Detail},
                     {StateCapitalTemplateFile, TTableKind::StateCapital}};
    for (const auto& Template : Templates) {
        TCellDocument Probe;
        const QString Error = LoadTableTemplate(
            Probe, FOptions.TemplateFolder + QString::fromUtf8(Template.File), Template.Kind);
        if (!Error.isEmpty())
            return Fail(Error);
    }
    return true;
}

// The logged-in unit must be a unit of pubdept: a code that names none, or
// only the beginning of some, would give tables of whatever matches it.
bool TBatchRun::CheckLogin() {
    const TQueryFailureWatch Watch;
    QString Found;
    const bool Known =
        LookupValue(QStringLiteral("pubdept"), QStringLiteral("eid"),
                    QStringLiteral("eid=") + QuotedSqlString(FOptions.UnitCode), Found);
    if (Watch.Failed())
        return Fail(QStringLiteral("查询单位表 pubdept 失败：%1").arg(Watch.FirstError()));
    if (!Known)
        return Fail(QStringLiteral("选项 --unit 的单位编码 %1 不在单位表 pubdept 中")
                        .arg(FOptions.UnitCode),
                    2);
    return true;
}

bool TBatchRun::PrepareOutputFolder() {
    FFolder = std::make_unique<TBatchOutputFolder>(FOptions.OutputFolder);
    if (!FFolder->Prepare(FOptions.WaitSeconds * 1000))
        return Fail(FFolder->Error());
    for (const QString& Leftover : FFolder->RemovedLeftovers())
        Say(QStringLiteral("已删除上次中断时留下的临时文件 %1").arg(Leftover));
    return true;
}

// The tree holds the units in use under the login's parent group; the group
// itself is its top node, not one of its units.
bool TBatchRun::SelectNode() {
    const QString Login = HostUnitCode();
    const QString Root = Login.left(std::max<qsizetype>(0, Login.size() - 3));
    if (FOptions.NodeCode.isEmpty()) {
        FFilter.UnitPrefix = Login.left(3);
        FFilter.UnitName = TopNodeName(FFilter.UnitPrefix);
        return true;
    }
    QString Name;
    const bool InTree =
        (Root.isEmpty() || FOptions.NodeCode != Root) &&
        LookupValue(QStringLiteral("pubdept"), QStringLiteral("ename"),
                    QStringLiteral("replaceflag='0' and useflag='0' and eid=") +
                        QuotedSqlString(FOptions.NodeCode) + QStringLiteral(" and eid like ") +
                        DefDialect().LikePrefix(Root),
                    Name);
    if (!InTree)
        return Fail(QStringLiteral("选项 --node 的单位 %1 不在单位树中（登录单位 %2 之下）")
                        .arg(FOptions.NodeCode, Login),
                    2);
    FFilter.UnitPrefix = FOptions.NodeCode;
    FFilter.UnitName = Name;
    return true;
}

// What the window selects: the indicator type and sub-type, and the unit
// tree's node; the top node unless a unit code is asked for.
bool TBatchRun::Select() {
    const TQueryFailureWatch Watch;
    FFilter.BTypeIndex = QString::number(FOptions.DefBTypeIndex);
    FFilter.SubTypeIndex = FOptions.SubTypeIndex;
    FFilter.Year = HostYear();
    FFilter.DeptClass = HostDeptClass();
    FBTypeText = BTypeTexts[FOptions.DefBTypeIndex];
    const bool Selected = SelectNode();
    if (Watch.Failed())
        return Fail(QStringLiteral("查询单位失败：%1").arg(Watch.FirstError()));
    return Selected;
}

bool TBatchRun::ListTables() {
    const TQueryFailureWatch Watch;
    const auto Funds = CodedFundNaturesWithData(FFilter.WindowFilter(DefDialect()));
    if (Watch.Failed())
        return Fail(QStringLiteral("查询资金性质失败，未写出报表：%1").arg(Watch.FirstError()));
    if (Funds.isEmpty())
        return NoTables();
    QStringList Clashes;
    FTables = BatchTables(Funds, FOptions.OutputFolder, FFilter.Year, FBTypeText, Clashes);
    if (!Clashes.isEmpty())
        Say(QStringLiteral("有同名的资金性质，文件名中加上了编码：%1")
                .arg(Clashes.join(QStringLiteral("、"))));
    return CheckNameLengths();
}

// A name the file system cannot take is refused before anything is made.
bool TBatchRun::CheckNameLengths() {
    for (const TBatchTable& Table : FTables) {
        const QString Name = QFileInfo(Table.Stem + QStringLiteral(".xlsx")).fileName();
        const int Bytes = int(QFile::encodeName(Name).size());
        if (Bytes + TemporarySuffix > NAME_MAX)
            return Fail(QStringLiteral("“%1”的表的文件名太长（%2 字节，连同临时文件的后缀超过 %3 "
                                       "字节的上限），未写出任何报表：%4")
                            .arg(Table.Caption)
                            .arg(Bytes)
                            .arg(NAME_MAX)
                            .arg(Name));
    }
    return true;
}

// No fund nature has data: no table at all, and the years that have some.
bool TBatchRun::NoTables() {
    const QString What =
        QStringLiteral("%1 %2年%3").arg(FFilter.UnitName).arg(FFilter.Year).arg(FBTypeText);
    const QList<int> Years = YearsWithData(FFilter);
    if (Years.isEmpty())
        return Fail(
            QStringLiteral(
                "%1：没有任何资金性质有数据，未写出报表；数据库中该单位没有任何年度的%2数据。")
                .arg(What, FBTypeText));
    return Fail(
        QStringLiteral(
            "%1：没有任何资金性质有数据，未写出报表。数据库中该单位的%2只有这些年度的数据：%3"
            "（用 --year 选择年度）。")
            .arg(What, FBTypeText, Joined(Years)));
}

bool TBatchRun::WriteFiles(const TBatchTable& ATable, TCellDocument& AGrid,
                           const QString& AFundCode) {
    if (FOptions.WriteXlsx) {
        const QString Workbook = ATable.Stem + QStringLiteral(".xlsx");
        if (AGrid.ExportExcel(Workbook) != 0)
            return Fail(QStringLiteral("%1 导出失败：%2").arg(ATable.Caption, AGrid.LastError()));
        FWritten << QFileInfo(Workbook).fileName();
    }
    if (FOptions.WritePdf) {
        const QString Pdf = ATable.Stem + QStringLiteral(".pdf");
        WriteAmountHeader(AGrid, AFundCode, FBTypeText);
        AGrid.SetPageText(QString(), QString::fromUtf8(PageLine), QString());
        if (AGrid.PrintToPdf(Pdf) != 0)
            return Fail(QStringLiteral("%1 打印失败：%2").arg(ATable.Caption, AGrid.LastError()));
        FWritten << QFileInfo(Pdf).fileName();
    }
    return true;
}

bool TBatchRun::WriteTable(int AIndex, const TBatchTable& ATable) {
    // Every query of the table, the lookups that count a failure as empty
    // included, must have run: a table built on a failed one is not written.
    const TQueryFailureWatch Watch;
    const TReportContext Context = MakeReportContext(FFilter, FBTypeText, ATable.Code);
    TCellDocument Grid;
    // One fill serves both files: the workbook gets the export grid, numbers
    // as values; the printed table adds the amount header and page line.
    const TFillResult Filled = FillReport(Grid, Context, ATable.Code, true);
    if (Filled.Failed() || Watch.Failed())
        return Fail(
            QStringLiteral("%1 的查询失败，未写出该表：%2")
                .arg(ATable.Caption, Filled.Failed() ? Filled.Error() : Watch.FirstError()));
    if (Filled.Unsound())
        return Fail(QStringLiteral("%1 有金额不是有限数（溢出或不是数字），未写出该表：%2")
                        .arg(ATable.Caption, Filled.NotFiniteRows.join(QStringLiteral("；"))));
    FAudit.Add(ATable.Caption, ATable.Code, Filled);
    const int Before = int(FWritten.size());
    if (!WriteFiles(ATable, Grid, ATable.Code))
        return false;
    FRowsWritten += Filled.QueryRows;
    ++FTablesWritten;
    Say(QStringLiteral("[%1/%2] %3：%4 行 -> %5")
            .arg(AIndex + 1)
            .arg(FTables.size())
            .arg(ATable.Caption)
            .arg(Filled.QueryRows)
            .arg(FWritten.mid(Before).join(QStringLiteral(", "))));
    return true;
}

// After the tables: one audit line per table and the audit file beside
// them. 0 when every difference has a known cause, 3 when one has none.
int TBatchRun::ReportAudit() {
    FAudit.CompareTables();
    for (const QString& Line : FAudit.Lines())
        Say(Line);
    const QString Path = AuditFilePath(FOptions.OutputFolder, FFilter.Year, FBTypeText);
    QString Error;
    if (!FAudit.Write(Path, Error)) {
        Fail(QStringLiteral("审核结果未能写出：%1").arg(Error));
        return 1;
    }
    FWritten << QFileInfo(Path).fileName();
    Say(QStringLiteral("审核结果 -> %1").arg(QFileInfo(Path).fileName()));
    if (FAudit.Passed())
        return 0;
    Fail(QStringLiteral("审核未通过：有的表中差额没有已知原因，详见上面的审核行。"));
    return 3;
}

// Tables of this program's naming that this run did not write stand in the
// folder beside its own: the names do not show the unit, so say so.
void TBatchRun::SayOtherTables() {
    const QStringList Others = FFolder->OtherTables(FWritten);
    if (Others.isEmpty())
        return;
    Say(QStringLiteral("注意：输出文件夹中另有 %1 "
                       "个报表文件不是本次写出的（可能是其他单位、类型或年度的）：%2")
            .arg(Others.size())
            .arg(Others.join(QStringLiteral("、"))));
}

int TBatchRun::Run() {
    if (FOptions.SubTypeGiven && FOptions.DefBTypeIndex != 1)
        Say(QStringLiteral("注意：指标子类型（--subtype）只对预算数有效，指标类型为%1时不起作用。")
                .arg(BTypeTexts[FOptions.DefBTypeIndex]));
    if (!CheckTemplates() || !CheckDatabase() || !CheckLogin() || !Select() || !ListTables() ||
        !PrepareOutputFolder())
        return FExitCode;
    Say(QStringLiteral("%1 %2年%3：%4 张表 -> %5")
            .arg(FFilter.UnitName)
            .arg(FFilter.Year)
            .arg(FBTypeText)
            .arg(FTables.size())
            .arg(QDir(FOptions.OutputFolder).absolutePath()));
    for (int I = 0; I < FTables.size(); ++I) {
        if (!WriteTable(I, FTables[I]))
            return FExitCode;
    }
    const int Result = ReportAudit();
    SayOtherTables();
    return Result;
}
