#include "ConditionalSum.h"

#include "platform/data/TSqlDialect.h"

QString ConditionalSum(const TSqlDialect& ADialect, const QString& AName, const QString& ARest) {
    const QString Decode =
        ADialect.Decode(AName, {ARest, QStringLiteral("BudgMoney"), QStringLiteral("0")});
    return ADialect.Nvl(QStringLiteral("sum(") + Decode + QLatin1Char(')'), QStringLiteral("0"));
}
