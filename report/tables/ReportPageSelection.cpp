#include "ReportPageSelection.h"

#include "IndicatorTypeNames.h"
#include "TReportFilter.h"
#include "cell/TCellDocument.h"

namespace {

// A workbook's page text holds at most 255 characters with its codes.
constexpr qsizetype MaxUnitName = 60;

} // namespace

QString ReportIndicatorType(const TReportFilter& AFilter, const QString& ABTypeText) {
    // The sub-type counts for 预算数 only, as the queries read it.
    const QString Sub = SubTypeName(AFilter.SubTypeIndex);
    if (AFilter.BTypeIndex != QLatin1String("1") || Sub.isEmpty())
        return ABTypeText;
    return ABTypeText + QStringLiteral("（%1）").arg(Sub);
}

QString ReportPageSelection(const TReportFilter& AFilter, const QString& ABTypeText) {
    QString Unit = AFilter.UnitName.simplified();
    Unit.replace(QLatin1Char('&'), QChar(0xFF06));
    if (Unit.size() > MaxUnitName)
        Unit = Unit.left(MaxUnitName - 1) + QChar(0x2026);
    return QStringLiteral("%1　%2年%3")
        .arg(Unit, QString::number(AFilter.Year), ReportIndicatorType(AFilter, ABTypeText));
}

void SetPageSelection(TCellDocument& ADocument, const TReportFilter& AFilter,
                      const QString& ABTypeText) {
    const TCellPageSetup& Page = ADocument.Sheet().Page();
    ADocument.SetPageText(ReportPageSelection(AFilter, ABTypeText), Page.FooterCentre,
                          Page.FooterRight);
}
