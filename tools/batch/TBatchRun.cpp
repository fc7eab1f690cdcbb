#include "TBatchRun.h"

#include "TBatchOutputFolder.h"
#include "TEachUnitRun.h"
#include "TFolderSet.h"
#include "TQueryThreads.h"
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
#include "platform/data/TConnectionString.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/IndicatorTypeNames.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/SummaryLayout.h"
#include "report/tables/TEmptyTableHint.h"
#include "report/tables/TemplateFit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>

namespace {

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
        // No grant limits a superuser: what a read-only transaction does not
        // stop (files on the server, replication slots) is open to it.
        if (GetDefConnection()->SuperuserSession())
            FConsole.Say(QStringLiteral("注意：以超级用户身份连接 PostgreSQL，只读事务管不到的操作"
                                        "（服务器上的文件、复制槽）不受限制；报表请用只有 SELECT "
                                        "权限的账户（见 README）。"));
        return true;
    } catch (const Exception& E) {
        return Fail(QStringLiteral("%1。数据库不可用，未写出报表").arg(E.Message()));
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
        return Fail(QStringLiteral("%1。无法确认登录单位 %2 是否存在")
                        .arg(Watch.FirstError(), FOptions.UnitCode));
    if (!Known)
        return Fail(QStringLiteral("选项 --unit 的单位编码 %1 不是数据库中的单位"
                                   "（单位表 pubdept 中没有这个编码）")
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
    const bool Selected = SelectNode();
    if (Watch.Failed())
        return Fail(QStringLiteral("%1。无法查询选定的单位").arg(Watch.FirstError()));
    if (Selected && FFilter.UnitName.contains(QChar(0)))
        return Fail(NulNameProblem(FFilter.UnitPrefix));
    FSelection.Year = FFilter.Year;
    FSelection.BType = FOptions.DefBTypeIndex;
    FSelection.SubType = FOptions.DefBTypeIndex == 1 ? FOptions.SubTypeIndex : -1;
    FSelection.LoginUnit = HostUnitCode();
    FSelection.LoginClass = FFilter.DeptClass;
    FSelection.NodeCode = FFilter.UnitPrefix;
    FSelection.NodeName = FFilter.UnitName;
    FSelection.EachUnit = FOptions.EachUnit;
    return Selected;
}

TRunRecord TBatchRun::RecordHead() const {
    TRunRecord Head;
    Head.Selection = FSelection;
    Head.Database = TConnectionString::WithoutPasswords(FOptions.ConnectionString);
    // A database file named relative to where the run started is named
    // whole, so the record says which file it was wherever it is read.
    const QFileInfo File(
        TConnectionString(FOptions.ConnectionString).Value(QStringLiteral("Data Source")));
    if (File.isRelative() && File.isFile())
        Head.Database += QStringLiteral("（文件 %1）").arg(File.absoluteFilePath());
    return Head;
}

// No fund nature has data: no table at all, and where the unit's data is
// (another year, department class, indicator type or sub-type).
int TBatchRun::NoTables() {
    const QString Hint = TEmptyTableHint::Read(FFilter).Text(TEmptyTableHint::BatchReader);
    Fail(QStringLiteral("%1：没有任何资金性质有数据，未写出报表。%2。")
             .arg(FSelection.Text(),
                  Hint.isEmpty()
                      ? QStringLiteral("数据库中该单位没有任何年度、单位类别和指标类型的数据")
                      : Hint));
    return FExitCode;
}

int TBatchRun::WriteSelection(TTableWriter& AWriter, TQueryThreads& AQueries) {
    TSelectionTables Tables(FOptions, FFilter, RecordHead(), FOptions.OutputFolder, FConsole);
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
    const TFolderSet Earlier(FOptions.OutputFolder);
    if (!ClaimFolder(Earlier))
        return FExitCode;
    FConsole.Say(QStringLiteral("%1：%2 张表 -> %3")
                     .arg(FSelection.Text())
                     .arg(Tables.TableCount())
                     .arg(QDir(FOptions.OutputFolder).absolutePath()));
    const TSelectionTables::TOutcome Outcome = Tables.Write(AWriter, AQueries, true);
    if (Outcome == TSelectionTables::Failed) {
        // A closed output is said once, as the process ends.
        if (!FConsole.OutputClosed())
            Fail(Tables.Problem() + QStringLiteral("。输出文件夹中原有的报表没有动。"));
        return 1;
    }
    if (!Tables.Commit(Earlier)) {
        Fail(Tables.Problem());
        return FExitCode;
    }
    SayRemoved(Tables.Removed());
    SayDone(Tables.TablesWritten(), Tables.Rows());
    if (Outcome == TSelectionTables::Unaudited)
        Fail(QStringLiteral("审核未通过：有的表中差额没有已知原因，详见上面的审核行。"), 3);
    return Outcome == TSelectionTables::Unaudited ? 3 : 0;
}

int TBatchRun::WriteEachUnit(TTableWriter& AWriter, TQueryThreads& AQueries) {
    FFolder = std::make_unique<TBatchOutputFolder>(FOptions.OutputFolder);
    TEachUnitRun EachUnit(FOptions, FConsole, FFilter, RecordHead(), FTimer);
    const QString Under = FOptions.NodeCode.isEmpty() ? FTreeRoot : FOptions.NodeCode;
    FExitCode = EachUnit.Run(Under, *FFolder, AWriter, AQueries);
    return FExitCode;
}

// A folder holds one selection's set: another's is replaced whole when
// --replace says so, and the run is refused otherwise.
bool TBatchRun::ClaimFolder(const TFolderSet& AEarlier) {
    const QString Conflict = AEarlier.Conflict(FSelection);
    if (Conflict.isEmpty())
        return true;
    if (FOptions.Replace) {
        FConsole.Say(QStringLiteral("注意：%1。按 --replace，本次的报表写好后替换原有的整套报表。")
                         .arg(Conflict));
        return true;
    }
    return Fail(QStringLiteral("%1，本次是%2：不把两次的报表混在一个文件夹里。请换一个输出文件夹，"
                               "或加上 --replace 用本次的整套报表替换原有的（原有的将被删除）。")
                    .arg(Conflict, FSelection.Text()),
                2);
}

// What this run replaced of the folder's earlier set and did not write
// again (a fund nature without data now, another selection's tables).
void TBatchRun::SayRemoved(const QStringList& ARemoved) const {
    if (!ARemoved.isEmpty())
        FConsole.Say(RemovedLine(ARemoved));
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
                .arg(IndicatorTypeName(FOptions.DefBTypeIndex)));
    if (!CheckTemplates() || !CheckDatabase() || !CheckLogin() || !Select())
        return FExitCode;
    // Each table is written while the next ones are queried, each on a
    // read-only connection of its own, unless the run is to take one step
    // after the other.
    TTableWriter Writer(!FOptions.OneThread);
    TQueryThreads Queries(FOptions.OneThread ? 0 : FOptions.Connections, FOptions.ConnectionString);
    return FOptions.EachUnit ? WriteEachUnit(Writer, Queries) : WriteSelection(Writer, Queries);
}
