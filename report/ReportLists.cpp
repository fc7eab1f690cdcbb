#include "ReportLists.h"

#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"

#include <QComboBox>
#include <QSignalBlocker>

int FillListFromQuery(QComboBox& AList, const QString& ASql, bool AIncludeAll) {
    const QSignalBlocker Quiet(AList);
    AList.clear();
    const QStringList Names = ListFromQuery(ASql, AIncludeAll);
    if (Names.isEmpty())
        return 0;
    AList.addItems(Names);
    AList.setCurrentIndex(0);
    return int(Names.size()) - (AIncludeAll ? 1 : 0);
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
