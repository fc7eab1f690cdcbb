// --each-unit: the tables of every unit under the selected node in one run,
// each unit's in a folder of its own, one start-up and one connection for
// them all.
#include "TBatchRun.h"

#include "TBatchOutputFolder.h"
#include "TSelectionTables.h"
#include "db/TQueryFailureWatch.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportLookups.h"

#include <QDir>

int TBatchRun::WriteEachUnit(TTableWriter& AWriter) {
    const QString Under = FOptions.NodeCode.isEmpty() ? FTreeRoot : FOptions.NodeCode;
    QList<QPair<QString, QString>> Units;
    {
        const TQueryFailureWatch Watch;
        Units = UnitsUnder(Under);
        if (Watch.Failed()) {
            Fail(QStringLiteral("查询单位失败：%1").arg(Watch.FirstError()));
            return FExitCode;
        }
    }
    if (Units.isEmpty()) {
        Fail(QStringLiteral("%1 之下没有单位，未写出报表").arg(FFilter.UnitName));
        return FExitCode;
    }
    FFolder = std::make_unique<TBatchOutputFolder>(FOptions.OutputFolder);
    if (!PrepareFolder(*FFolder))
        return FExitCode;
    FConsole.Say(QStringLiteral("%1 %2年%3：逐个单位写出报表，共 %4 个单位 -> %5")
                     .arg(FFilter.UnitName)
                     .arg(FFilter.Year)
                     .arg(FBTypeText)
                     .arg(Units.size())
                     .arg(QDir(FOptions.OutputFolder).absolutePath()));
    TUnitTally Tally;
    for (int I = 0; I < Units.size(); ++I) {
        if (!WriteUnit(Units[I], I, int(Units.size()), AWriter, Tally))
            return FExitCode;
    }
    const QString EmptyUnits =
        Tally.Empty ? QStringLiteral("（另有 %1 个单位没有数据）").arg(Tally.Empty) : QString();
    FConsole.Say(QStringLiteral("完成：%1 个单位写出了报表%2，共 %3 张表，%4 行，用时 %5 秒")
                     .arg(Tally.Units)
                     .arg(EmptyUnits)
                     .arg(Tally.Tables)
                     .arg(Tally.Rows)
                     .arg(double(FTimer.elapsed()) / 1000.0, 0, 'f', 1));
    if (!Tally.Unaudited)
        return 0;
    Fail(QStringLiteral(
             "审核未通过：有的单位的表中差额没有已知原因，详见各单位文件夹中的审核结果。"),
         3);
    return FExitCode;
}

// One unit: its tables in its own folder, or a line saying it has no data.
bool TBatchRun::WriteUnit(const QPair<QString, QString>& AUnit, int AIndex, int ACount,
                          TTableWriter& AWriter, TUnitTally& ATally) {
    const auto& [Code, Name] = AUnit;
    const QString Line =
        QStringLiteral("[%1/%2] %3 %4：").arg(AIndex + 1).arg(ACount).arg(Code, Name);
    TReportFilter Filter = FFilter;
    Filter.UnitPrefix = Code;
    Filter.UnitName = Name;
    const QString FolderName = UnitFolderName(Code, Name);
    const QString Folder = QDir(FOptions.OutputFolder).filePath(FolderName);
    TSelectionTables Tables(FOptions, Filter, FBTypeText, Folder, FConsole);
    switch (Tables.List()) {
    case TSelectionTables::NoData:
        ++ATally.Empty;
        FConsole.Say(Line + QStringLiteral("没有数据，不建文件夹"));
        return true;
    case TSelectionTables::Failed:
        return Fail(Line + Tables.Problem());
    default:
        break;
    }
    TBatchOutputFolder UnitFolder(Folder);
    if (!PrepareFolder(UnitFolder))
        return false;
    const TSelectionTables::TOutcome Outcome = Tables.Write(AWriter, false);
    if (Outcome == TSelectionTables::Failed)
        return Fail(Line + Tables.Problem());
    ++ATally.Units;
    ATally.Tables += Tables.Tables();
    ATally.Rows += Tables.Rows();
    ATally.Unaudited = ATally.Unaudited || Outcome == TSelectionTables::Unaudited;
    FConsole.Say(Line + QStringLiteral("%1 张表，%2 行，%3 -> %4/")
                            .arg(Tables.Tables())
                            .arg(Tables.Rows())
                            .arg(Outcome == TSelectionTables::Unaudited
                                     ? QStringLiteral("审核未通过")
                                     : QStringLiteral("审核通过"))
                            .arg(FolderName));
    return true;
}
