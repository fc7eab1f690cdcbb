#include "ReportPdfInfo.h"

#include "ReportPageSelection.h"
#include "TReportFilter.h"

TCellPdfInfo ReportPdfInfo(const QString& ATitle, const TReportFilter& AFilter,
                           const QString& ABTypeText, const QString& AFundText) {
    TCellPdfInfo Info;
    Info.Title = ATitle;
    Info.Subject = QStringLiteral("%1年；指标类型：%2；单位：%3；资金性质：%4")
                       .arg(QString::number(AFilter.Year), ReportIndicatorType(AFilter, ABTypeText),
                            AFilter.UnitName, AFundText);
    Info.Creator = QStringLiteral("Varnholt 支付范围划分建议表打印 " VARNHOLT_VERSION);
    return Info;
}
