#include "TBatchRun.h"

#include "TBatchOutputFolder.h"
#include "TSelectionTables.h"
#include "TTableWriter.h"
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "db/SqlLiteral.h"
#include "db/TQueryFailureWatch.h"
#include "db/TStatementLog.h"
#include "platform/Exception.h"
#include "platform/data/TADOQuery.h"
#include "platform/data/TAdoConn.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/SummaryLayout.h"
#include "report/tables/TemplateFit.h"

#include <QDir>
#include <QElapsedTimer>
#include <algorithm>

namespace {

const QStringList BTypeTexts = {QStringLiteral("控制数"), QStringLiteral("预算数"),
                                QStringLiteral("临时指标")};

// Reads none of ATable's rows but needs every column of it: the database
// raises its own error (no such table, a view it cannot compile), where
// the report's lookups would quietly count a failure as empty. Counting
// the rows instead would read the whole view, which on a large province
// costs as much as a table.
void ProbeDatabase(const QString& ATable) {
    const QString Sql = QStringLiteral("select * from ") + ATable + QStringLiteral(" where 1=0");
    QElapsedTimer Timer;
    Timer.start();
    TADOQuery Probe;
    Probe.SetConnection(GetDefConnection());
    Probe.SetSQLText(Sql);
    Probe.Open();
    TStatementLog::Record(Sql, double(Timer.nsecsElapsed()) / 1e6);
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
    , FConsole(AOut, AErr) {
    FTimer.start();
}

TBatchRun::~TBatchRun() = default;

bool TBatchRun::Fail(const QString& AMessage, int AExitCode) {
    FExitCode = AExitCode;
    FConsole.Error(AMessage);
    return false;
}

bool TBatchRun::CheckDatabase() {
    try {
        GetDefConnection()->Open();
        for (const char* Table : {"pubmoneykind", "pubdept", "vwbudgetadj"})
            ProbeDatabase(QString::fromLatin1(Table));
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

bool TBatchRun::PrepareFolder(TBatchOutputFolder& AFolder) {
    if (!AFolder.Prepare(FOptions.WaitSeconds * 1000))
        return Fail(AFolder.Error());
    for (const QString& Leftover : AFolder.RemovedLeftovers())
        FConsole.Say(QStringLiteral("已删除上次中断时留下的临时文件 %1").arg(Leftover));
    return true;
}

// The tree holds the units in use under the login's parent group; the group
// itself is its top node, not one of its units.
bool TBatchRun::SelectNode() {
    const QString Login = HostUnitCode();
    FTreeRoot = UnitTreeRoot(Login);
    if (FOptions.NodeCode.isEmpty()) {
        FFilter.UnitPrefix = TopNodePrefix(Login);
        FFilter.UnitName = TopNodeName(FFilter.UnitPrefix);
        return true;
    }
    QString Name;
    const bool InTree =
        (FTreeRoot.isEmpty() || FOptions.NodeCode != FTreeRoot) &&
        LookupValue(QStringLiteral("pubdept"), QStringLiteral("ename"),
                    QStringLiteral("replaceflag='0' and useflag='0' and eid=") +
                        QuotedSqlString(FOptions.NodeCode) + QStringLiteral(" and eid like ") +
                        DefDialect().LikePrefix(FTreeRoot),
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

// No fund nature has data: no table at all, and the years that have some.
int TBatchRun::NoTables() {
    const QString What =
        QStringLiteral("%1 %2年%3").arg(FFilter.UnitName).arg(FFilter.Year).arg(FBTypeText);
    const QList<int> Years = YearsWithData(FFilter);
    if (Years.isEmpty())
        Fail(QStringLiteral(
                 "%1：没有任何资金性质有数据，未写出报表；数据库中该单位没有任何年度的%2数据。")
                 .arg(What, FBTypeText));
    else
        Fail(QStringLiteral(
                 "%1：没有任何资金性质有数据，未写出报表。数据库中该单位的%2只有这些年度的数据："
                 "%3（用 --year 选择年度）。")
                 .arg(What, FBTypeText, Joined(Years)));
    return FExitCode;
}

int TBatchRun::WriteSelection(TTableWriter& AWriter) {
    TSelectionTables Tables(FOptions, FFilter, FBTypeText, FOptions.OutputFolder, FConsole);
    switch (Tables.List()) {
    case TSelectionTables::NoData:
        return NoTables();
    case TSelectionTables::Failed:
        Fail(Tables.Problem());
        return FExitCode;
    default:
        break;
    }
    FFolder = std::make_unique<TBatchOutputFolder>(FOptions.OutputFolder);
    if (!PrepareFolder(*FFolder))
        return FExitCode;
    FConsole.Say(QStringLiteral("%1 %2年%3：%4 张表 -> %5")
                     .arg(FFilter.UnitName)
                     .arg(FFilter.Year)
                     .arg(FBTypeText)
                     .arg(Tables.TableCount())
                     .arg(QDir(FOptions.OutputFolder).absolutePath()));
    const TSelectionTables::TOutcome Outcome = Tables.Write(AWriter, true);
    if (Outcome == TSelectionTables::Failed) {
        Fail(Tables.Problem());
        return FExitCode;
    }
    SayOtherTables(Tables);
    SayDone(Tables.Tables(), Tables.Rows());
    if (Outcome == TSelectionTables::Unaudited)
        Fail(QStringLiteral("审核未通过：有的表中差额没有已知原因，详见上面的审核行。"), 3);
    return Outcome == TSelectionTables::Unaudited ? 3 : 0;
}

// Tables of this program's naming that this run did not write stand in the
// folder beside its own: the names do not show the unit, so say so.
void TBatchRun::SayOtherTables(const TSelectionTables& ATables) const {
    const QStringList Others = FFolder->OtherTables(ATables.Files());
    if (Others.isEmpty())
        return;
    FConsole.Say(QStringLiteral("注意：输出文件夹中另有 %1 "
                                "个报表文件不是本次写出的（可能是其他单位、类型或年度的）：%2")
                     .arg(Others.size())
                     .arg(Others.join(QStringLiteral("、"))));
}

void TBatchRun::SayDone(int ATables, int ARows) const {
    FConsole.Say(QStringLiteral("完成：%1 张表，%2 行，用时 %3 秒")
                     .arg(ATables)
                     .arg(ARows)
                     .arg(double(FTimer.elapsed()) / 1000.0, 0, 'f', 1));
}

int TBatchRun::Run() {
    if (FOptions.SubTypeGiven && FOptions.DefBTypeIndex != 1)
        FConsole.Say(
            QStringLiteral("注意：指标子类型（--subtype）只对预算数有效，指标类型为%1时不起作用。")
                .arg(BTypeTexts[FOptions.DefBTypeIndex]));
    if (!CheckTemplates() || !CheckDatabase() || !CheckLogin() || !Select())
        return FExitCode;
    // Each table is written while the next one is queried, unless the run is
    // to take one step after the other.
    TTableWriter Writer(!FOptions.OneThread);
    return FOptions.EachUnit ? WriteEachUnit(Writer) : WriteSelection(Writer);
}
