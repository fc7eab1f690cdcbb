#include "SqlLiteral.h"

QString QuotedSqlString(const QString& AText) {
    QString Doubled = AText;
    Doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + Doubled + QLatin1Char('\'');
}
