#include "ReportTitles.h"

QString FundLongName(const QString& AFundCode) {
    if (AFundCode == QLatin1String("11"))
        return QStringLiteral("公共财政预算资金");
    if (AFundCode == QLatin1String("12"))
        return QStringLiteral("政府性基金");
    if (AFundCode == QLatin1String("21"))
        return QStringLiteral("财政专户管理资金");
    if (AFundCode == QLatin1String("31"))
        return QStringLiteral("国有资本经营预算资金");
    return QString();
}

TReportTitles BuildTitles(const QString& ABTypeText, const QString& AFundCode,
                          const QString& AUnitName, int AYear) {
    TReportTitles Titles;
    // Control figures are those of the second-round ("二上") budget.
    Titles.Basis = ABTypeText == QStringLiteral("控制数")
                       ? QStringLiteral("（按‘二上’预算数核定）")
                       : QStringLiteral("（按部门") + ABTypeText + QStringLiteral("核定）");
    const QString Year = QString::number(AYear);
    Titles.Summary = AUnitName + Year + QStringLiteral("年国库集中支付改革范围划分汇总建议表");
    Titles.Detail = AUnitName + Year + QStringLiteral("年国库集中支付改革") +
                    FundLongName(AFundCode) + QStringLiteral("范围划分明细建议表");
    return Titles;
}
