#include "ReportSql.h"

#include "platform/data/TSqlDialect.h"

QString ConditionalSum(const TSqlDialect& ADialect, const QString& AName, const QString& ARest) {
    const QString Decode =
        ADialect.Decode(AName, {ARest, QStringLiteral("BudgMoney"), QStringLiteral("0")});
    return ADialect.Nvl(QStringLiteral("sum(") + Decode + QLatin1Char(')'), QStringLiteral("0"));
}

QString SubjectLevelColumns(const TSqlDialect& ADialect) {
    const QString Sub = ADialect.Substring();
    return Sub + QStringLiteral("(b.bid,1,3) as lei,") + Sub +
           QStringLiteral("(b.bid,4,2) as kuan,") + Sub + QStringLiteral("(b.bid,6,2) as xiang,");
}
