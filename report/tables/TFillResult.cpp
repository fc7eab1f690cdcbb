#include "TFillResult.h"

void TFillResult::SetAudit(TAuditResult AAudit, bool ANoData) {
    Audit = std::move(AAudit);
    Audit.NoData = ANoData;
    for (const QString& Row : NotFiniteRows)
        Audit.Findings.prepend(
            {false, QStringLiteral("金额不是有限数（溢出或不是数字）：%1").arg(Row), 0, -1});
}
