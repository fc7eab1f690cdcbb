#include "TEachUnitRun.h"

#include "TBatchConsole.h"
#include "TBatchOptions.h"
#include "TBatchOutputFolder.h"
#include "TFolderSet.h"
#include "TSelectionTables.h"
#include "cell/TCellOutputFile.h"
#include "db/TQueryFailureWatch.h"
#include "report/tables/PrintableText.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportLookups.h"

#include <QDir>
#include <climits>

struct TEachUnitRun::TUnit {
    QString Code;
    QString Name;
    // The unit's folder, a name in the run's folder.
    QString Folder;
    // Whether the name was cut to fit the file system.
    bool Shortened = false;
    // None when the unit has no data.
    std::unique_ptr<TSelectionTables> Tables;
    bool HasData = true;
    // What the list of units says of it.
    QString Outcome = QStringLiteral("未写出");
    int TableCount = 0;
    int Rows = 0;
};

namespace {

// "code name", cut at the end of the name (marked "…") when longer than a
// folder's name may be; the code alone keeps it apart from the others.
QString FittedFolderName(const QString& ACode, const QString& AName, bool& AShortened) {
    QString Name = AName;
    QString Folder = UnitFolderName(ACode, Name);
    AShortened = false;
    while (QFile::encodeName(Folder).size() > NAME_MAX && !Name.isEmpty()) {
        Name.chop(Name.size() > 1 && Name.at(Name.size() - 1).isLowSurrogate() ? 2 : 1);
        Folder = UnitFolderName(ACode, Name + QStringLiteral("…"));
        AShortened = true;
    }
    return Folder;
}

QString ListHeading() {
    return QStringLiteral("单位编码\t单位名称\t文件夹\t表数\t行数\t结果\n");
}

} // namespace

TEachUnitRun::TEachUnitRun(const TBatchOptions& AOptions, const TBatchConsole& AConsole,
                           const TReportFilter& ANode, const TRunRecord& AHead,
                           const QElapsedTimer& ATimer)
    : FOptions(AOptions)
    , FConsole(AConsole)
    , FNode(ANode)
    , FHead(AHead)
    , FTimer(ATimer) {}

TEachUnitRun::~TEachUnitRun() = default;

int TEachUnitRun::Fail(const QString& AMessage, int AExitCode) {
    FConsole.Error(AMessage);
    return AExitCode;
}

bool TEachUnitRun::Refuse(const QString& AMessage) {
    FConsole.Error(AMessage);
    return false;
}

QString TEachUnitRun::UnitLine(const TUnit& AUnit, int AIndex) const {
    return QStringLiteral("[%1/%2] %3 %4：")
        .arg(AIndex + 1)
        .arg(FUnits.size())
        .arg(AUnit.Code, AUnit.Name);
}

bool TEachUnitRun::ListUnits(const QString& AUnder) {
    const TQueryFailureWatch Watch;
    const auto Units = UnitsUnder(AUnder);
    if (Watch.Failed())
        return Refuse(QStringLiteral("查询单位失败：%1").arg(Watch.FirstError()));
    if (Units.isEmpty())
        return Refuse(QStringLiteral("%1 之下没有单位，未写出报表").arg(FNode.UnitName));
    for (const auto& [Code, Name] : Units) {
        if (Name.contains(QChar(0)))
            return Refuse(NulNameProblem(Code));
        FUnits.emplace_back();
        FUnits.back().Code = Code;
        FUnits.back().Name = Name;
    }
    return true;
}

// Every unit's tables listed and every name checked before any folder is
// made: a run does not stop half way on a name.
bool TEachUnitRun::Plan() {
    for (int I = 0; I < int(FUnits.size()); ++I) {
        TUnit& Unit = FUnits[size_t(I)];
        Unit.Folder = FittedFolderName(Unit.Code, Unit.Name, Unit.Shortened);
        TReportFilter Filter = FNode;
        Filter.UnitPrefix = Unit.Code;
        Filter.UnitName = Unit.Name;
        TRunRecord Head = FHead;
        Head.Selection.NodeCode = Unit.Code;
        Head.Selection.NodeName = Unit.Name;
        Head.Selection.EachUnit = false;
        auto Tables = std::make_unique<TSelectionTables>(
            FOptions, Filter, Head, QDir(FOptions.OutputFolder).filePath(Unit.Folder), FConsole);
        switch (Tables->List()) {
        case TSelectionTables::NoData:
            Unit.HasData = false;
            Unit.Outcome = QStringLiteral("没有数据");
            break;
        case TSelectionTables::Failed:
            return Refuse(UnitLine(Unit, I) + Tables->Problem() +
                          QStringLiteral("（未建任何文件夹）"));
        default:
            Unit.Tables = std::move(Tables);
            break;
        }
    }
    return true;
}

// A unit's folder that exists must be a folder of the running user's
// making (not a link planted by another) and hold nothing but that unit's
// own set, unless --replace lets the run replace it.
bool TEachUnitRun::PlanUnit(TUnit& AUnit, QStringList& AConflicts) {
    const QString Path = QDir(FOptions.OutputFolder).filePath(AUnit.Folder);
    const QString Link = TBatchOutputFolder::LinkProblem(Path);
    if (!Link.isEmpty())
        return Refuse(
            QStringLiteral("单位 %1 的文件夹 %2，未写出任何单位的报表").arg(AUnit.Code, Link));
    TRunSelection Unit = FHead.Selection;
    Unit.NodeCode = AUnit.Code;
    Unit.EachUnit = false;
    const QString Conflict = TFolderSet(Path).Conflict(Unit);
    if (!Conflict.isEmpty())
        AConflicts << QStringLiteral("%1/：%2").arg(AUnit.Folder, Conflict);
    return true;
}

bool TEachUnitRun::Claim(const TFolderSet& AEarlier, const QStringList& AConflicts) {
    QStringList Conflicts = AConflicts;
    const QString Own = AEarlier.Conflict(FHead.Selection);
    if (!Own.isEmpty())
        Conflicts.prepend(Own);
    if (Conflicts.isEmpty())
        return true;
    const QString Listed =
        Conflicts.mid(0, 5).join(QStringLiteral("；")) +
        (Conflicts.size() > 5 ? QStringLiteral("；等 %1 处").arg(Conflicts.size()) : QString());
    if (FOptions.Replace) {
        FConsole.Say(
            QStringLiteral("注意：%1。按 --replace，本次的报表写好后替换原有的。").arg(Listed));
        return true;
    }
    return Refuse(QStringLiteral("%1。本次是%2：不把两次的报表混在一起。请换一个输出文件夹，或加上 "
                                 "--replace 用本次的报表替换原有的（原有的将被删除）。")
                      .arg(Listed, FHead.Selection.Text()));
}

// The list of units in the top folder, replaced whole each time.
bool TEachUnitRun::WriteList(const QString& AState) {
    FHead.State = AState;
    FHead.Made = QDateTime::currentDateTime();
    TRunRecord Head = FHead;
    for (const QString& Folder : FEarlierFolders) {
        if (!Head.UnitFolders.contains(Folder))
            Head.UnitFolders << Folder;
    }
    QString Text = Head.Head() + ListHeading();
    for (const TUnit& Unit : FUnits) {
        const bool Written = Unit.TableCount > 0;
        Text += RecordLine(Unit.Code,
                           {Unit.Name, Written ? Unit.Folder : QString(),
                            Written ? QString::number(Unit.TableCount) : QString(),
                            Written ? QString::number(Unit.Rows) : QString(), Unit.Outcome}) +
                QLatin1Char('\n');
    }
    TCellOutputFile File(FListPath);
    if (File.Open() && File.Write(Text.toUtf8()) && File.Commit() == TCellOutputFile::Committed)
        return true;
    return Refuse(QStringLiteral("%1，单位清单未能写出").arg(File.Error()));
}

bool TEachUnitRun::WriteUnit(TUnit& AUnit, int AIndex, TTableWriter& AWriter,
                             TQueryThreads& AQueries) {
    const QString Line = UnitLine(AUnit, AIndex);
    if (!AUnit.HasData) {
        FConsole.Say(Line + QStringLiteral("没有数据，不建文件夹"));
        return true;
    }
    const QString Path = QDir(FOptions.OutputFolder).filePath(AUnit.Folder);
    TBatchOutputFolder Folder(Path);
    if (!Folder.Prepare(FOptions.WaitSeconds * 1000)) {
        Fail(Line + Folder.Error());
        return false;
    }
    const TFolderSet Earlier(Path);
    TSelectionTables& Tables = *AUnit.Tables;
    const TSelectionTables::TOutcome Outcome = Tables.Write(AWriter, AQueries, false);
    if (Outcome == TSelectionTables::Failed || !Tables.Commit(Earlier)) {
        AUnit.Outcome = QStringLiteral("未写出：%1").arg(Tables.Problem());
        Fail(Line + Tables.Problem());
        return false;
    }
    const bool Audited = Outcome != TSelectionTables::Unaudited;
    AUnit.Outcome = Audited ? QStringLiteral("审核通过") : QStringLiteral("审核未通过");
    AUnit.TableCount = Tables.TablesWritten();
    AUnit.Rows = Tables.Rows();
    FUnaudited = FUnaudited || !Audited;
    ++FWritten;
    FTables += AUnit.TableCount;
    FRows += AUnit.Rows;
    FHead.UnitFolders << AUnit.Folder;
    FConsole.Say(Line + QStringLiteral("%1 张表，%2 行，%3 -> %4/%5")
                            .arg(AUnit.TableCount)
                            .arg(AUnit.Rows)
                            .arg(AUnit.Outcome, AUnit.Folder)
                            .arg(AUnit.Shortened ? QStringLiteral("（名称太长，文件夹名已截短）")
                                                 : QString()));
    AUnit.Tables.reset();
    return true;
}

int TEachUnitRun::Run(const QString& AUnder, TBatchOutputFolder& AFolder, TTableWriter& AWriter,
                      TQueryThreads& AQueries) {
    if (!ListUnits(AUnder) || !Plan())
        return 1;
    if (!AFolder.Prepare(FOptions.WaitSeconds * 1000))
        return Fail(AFolder.Error());
    for (const QString& Leftover : AFolder.RemovedLeftovers())
        FConsole.Say(QStringLiteral("已删除上次中断时留下的临时文件 %1").arg(Leftover));
    QStringList Conflicts;
    for (TUnit& Unit : FUnits) {
        if (Unit.HasData && !PlanUnit(Unit, Conflicts))
            return 1;
    }
    const TFolderSet Earlier(FOptions.OutputFolder);
    if (!Claim(Earlier, Conflicts))
        return 2;
    FEarlierFolders = Earlier.UnitFolders();
    FListPath =
        UnitListPath(FOptions.OutputFolder, FHead.Selection.Year, FHead.Selection.BTypeText());
    FConsole.Say(QStringLiteral("%1：共 %2 个单位 -> %3")
                     .arg(FHead.Selection.Text())
                     .arg(FUnits.size())
                     .arg(QDir(FOptions.OutputFolder).absolutePath()));
    if (!WriteList(QStringLiteral("未完成：正在写出（共 %1 个单位）").arg(FUnits.size())))
        return 1;
    for (int I = 0; I < int(FUnits.size()); ++I) {
        if (!WriteUnit(FUnits[size_t(I)], I, AWriter, AQueries)) {
            WriteList(QStringLiteral("未完成：第 %1 个单位 %2 出错而停止，结果为“未写出”的单位"
                                     "没有本次的报表")
                          .arg(I + 1)
                          .arg(FUnits[size_t(I)].Code));
            return 1;
        }
        if (FConsole.OutputClosed()) {
            WriteList(QStringLiteral("未完成：标准输出已关闭，运行在第 %1 个单位之后停止，结果为"
                                     "“未写出”的单位没有本次的报表")
                          .arg(I + 1));
            return 1;
        }
        if (FUnits[size_t(I)].TableCount > 0 &&
            !WriteList(QStringLiteral("未完成：已写到第 %1 个单位（共 %2 个）；若运行已中断，"
                                      "结果为“未写出”的单位没有本次的报表")
                           .arg(I + 1)
                           .arg(FUnits.size())))
            return 1;
    }
    return Finish(Earlier);
}

int TEachUnitRun::Finish(const TFolderSet& AEarlier) {
    const QStringList Removed =
        AEarlier.RemoveExcept({QFileInfo(FListPath).fileName()}, FHead.UnitFolders);
    FEarlierFolders.clear();
    if (!WriteList(QStringLiteral("完成")))
        return 1;
    if (!Removed.isEmpty())
        FConsole.Say(RemovedLine(Removed));
    const int Empty =
        int(std::count_if(FUnits.begin(), FUnits.end(), [](const TUnit& U) { return !U.HasData; }));
    const QString EmptyUnits =
        Empty ? QStringLiteral("（另有 %1 个单位没有数据）").arg(Empty) : QString();
    FConsole.Say(QStringLiteral("完成：%1 个单位写出了报表%2，共 %3 张表，%4 行，用时 %5 秒；"
                                "单位清单 -> %6")
                     .arg(FWritten)
                     .arg(EmptyUnits)
                     .arg(FTables)
                     .arg(FRows)
                     .arg(double(FTimer.elapsed()) / 1000.0, 0, 'f', 1)
                     .arg(QFileInfo(FListPath).fileName()));
    if (!FUnaudited)
        return 0;
    return Fail(QStringLiteral(
                    "审核未通过：有的单位的表中差额没有已知原因，详见各单位文件夹中的审核结果。"),
                3);
}
