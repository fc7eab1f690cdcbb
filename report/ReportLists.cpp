#include "ReportLists.h"

#include "db/TQueryFailureWatch.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"

#include <QComboBox>
#include <QSignalBlocker>

int FillListFromQuery(QComboBox& AList, const QString& ASql, bool AIncludeAll, QString* AError) {
    const QSignalBlocker Quiet(AList);
    AList.clear();
    const TQueryFailureWatch Watch;
    const auto Entries = CodedListFromQuery(ASql);
    if (AError)
        *AError = Watch.FirstError();
    if (Entries.isEmpty())
        return 0;
    if (AIncludeAll)
        AList.addItem(QStringLiteral("<全部>"), QString());
    for (const auto& [Code, Name] : Entries)
        AList.addItem(Name, Code);
    AList.setCurrentIndex(0);
    return int(Entries.size());
}

QList<QPair<QString, QString>> ListEntries(const QComboBox& AList) {
    QList<QPair<QString, QString>> Entries;
    for (int Index = 0; Index < AList.count(); ++Index)
        Entries.append({AList.itemData(Index).toString(), AList.itemText(Index)});
    return Entries;
}

int FillMoneyKindList(QComboBox& AList, bool AIncludeAll, int AVariant, bool ADescending,
                      const QString& AExtra) {
    return FillListFromQuery(AList, MoneyKindListSql(AVariant, ADescending, AExtra), AIncludeAll);
}

void FillIndicatorKindList(QComboBox& AList, bool AIncludeAll, bool AIncludeTemporary) {
    const QSignalBlocker Quiet(AList);
    AList.clear();
    if (AIncludeAll)
        AList.addItem(QStringLiteral("<全部>"));
    AList.addItem(QStringLiteral("控制数"));
    AList.addItem(QStringLiteral("预算数"));
    if (AIncludeTemporary)
        AList.addItem(QStringLiteral("临时指标"));
    int Index = HostDefBTypeIndex();
    if (!AIncludeTemporary && Index == 2)
        Index = 0;
    AList.setCurrentIndex(Index);
}
