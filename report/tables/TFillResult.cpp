#include "TFillResult.h"

QString TFillResult::StatusLine() const {
    if (!TemplateError.isEmpty())
        return TemplateError;
    if (!QueryError.isEmpty())
        return QStringLiteral("%1。本表没能从数据库查出，表中只有表样，没有数据").arg(QueryError);
    return Audit.Brief();
}

void TFillResult::FinishAudit(TAuditResult AAudit, const TCellDocument& AGrid,
                              const TPrintedTotals* APrinted) {
    if (APrinted) {
        Printed = std::make_shared<const TPrintedTotals>(*APrinted);
        Printed->Check(AGrid, AAudit);
    }
    SetAudit(std::move(AAudit), APrinted == nullptr);
}

void TFillResult::SetAudit(TAuditResult AAudit, bool ANoData) {
    Audit = std::move(AAudit);
    Audit.NoData = ANoData;
    for (const QString& Row : NotFiniteRows)
        Audit.Findings.prepend({false,
                                QStringLiteral("金额不是有限数（溢出或不是数字）：%1").arg(Row), 0,
                                -1, QString()});
}
