#include "ReportFill.h"

#include "DetailLayout.h"
#include "SummaryLayout.h"
#include "cell/TCellDocument.h"

namespace {

int AmountHeaderColumn(const QString& AFundCode) {
    return AFundCode.isEmpty() ? 6 : 10;
}

QString AmountHeader(const QString& ABTypeText) {
    const QString Temporary = QStringLiteral("临时指标");
    return ABTypeText == Temporary ? Temporary : QStringLiteral("预算数");
}

} // namespace

TFillResult FillReport(TCellDocument& AGrid, const TReportContext& AContext,
                       const QString& AFundCode, bool ANumbersAsValues,
                       TReportProgress* AProgress) {
    if (AFundCode.isEmpty())
        return FillSummaryTable(AGrid, AContext, ANumbersAsValues, AProgress);
    return FillDetailTable(AGrid, AContext, AFundCode, ANumbersAsValues, AProgress);
}

bool HasAmountHeader(const TCellDocument& AGrid, const QString& AFundCode,
                     const QString& ABTypeText) {
    return AGrid.CellText(AmountHeaderColumn(AFundCode), 4) == AmountHeader(ABTypeText);
}

void WriteAmountHeader(TCellDocument& AGrid, const QString& AFundCode, const QString& ABTypeText) {
    AGrid.PutText(AmountHeaderColumn(AFundCode), 4, 0, AmountHeader(ABTypeText));
}
