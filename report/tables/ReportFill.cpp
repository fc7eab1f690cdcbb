#include "ReportFill.h"

#include "DetailLayout.h"
#include "SummaryLayout.h"
#include "cell/TCellDocument.h"

TFillResult FillReport(TCellDocument& AGrid, const TReportContext& AContext,
                       const QString& AFundCode, bool ANumbersAsValues,
                       TReportProgress* AProgress) {
    if (AFundCode.isEmpty())
        return FillSummaryTable(AGrid, AContext, ANumbersAsValues, AProgress);
    return FillDetailTable(AGrid, AContext, AFundCode, ANumbersAsValues, AProgress);
}

void WriteAmountHeader(TCellDocument& AGrid, const QString& AFundCode, const QString& ABTypeText) {
    const QString Temporary = QStringLiteral("临时指标");
    AGrid.PutText(AFundCode.isEmpty() ? 6 : 10, 4, 0,
                  ABTypeText == Temporary ? Temporary : QStringLiteral("预算数"));
}
