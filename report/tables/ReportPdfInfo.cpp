#include "ReportPdfInfo.h"

#include "TReportFilter.h"

#include <QStringList>

namespace {

QString IndicatorType(const TReportFilter& AFilter, const QString& ABTypeText) {
    static const QStringList SubTypes{QStringLiteral("当年预算"), QStringLiteral("结余预算"),
                                      QStringLiteral("追加预算")};
    // The sub-type counts for 预算数 only, as the queries read it.
    if (AFilter.BTypeIndex != QLatin1String("1") || AFilter.SubTypeIndex < 0 ||
        AFilter.SubTypeIndex >= SubTypes.size())
        return ABTypeText;
    return ABTypeText + QStringLiteral("（") + SubTypes[AFilter.SubTypeIndex] +
           QStringLiteral("）");
}

} // namespace

TCellPdfInfo ReportPdfInfo(const QString& ATitle, const TReportFilter& AFilter,
                           const QString& ABTypeText, const QString& AFundText) {
    TCellPdfInfo Info;
    Info.Title = ATitle;
    Info.Subject = QStringLiteral("%1年；指标类型：%2；单位：%3；资金性质：%4")
                       .arg(QString::number(AFilter.Year), IndicatorType(AFilter, ABTypeText),
                            AFilter.UnitName, AFundText);
    Info.Creator = QStringLiteral("Varnholt 支付范围划分建议表打印 " VARNHOLT_VERSION);
    return Info;
}
