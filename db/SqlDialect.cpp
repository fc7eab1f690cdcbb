#include "SqlDialect.h"

#include "SqlLiteral.h"

#include "TAdoConn.h"
#include "platform/Exception.h"

namespace {

QString UpperAscii(const QByteArray& AText) {
    QByteArray Upper = AText;
    for (char& C : Upper) {
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    }
    return QString::fromLatin1(Upper);
}

bool ProviderMatches(TAdoConn* AConn, std::initializer_list<const char*> AMarkers) {
    if (!AConn)
        throw EDatabaseError(QStringLiteral("No connection to tell the database kind from"));
    AConn->ProviderText = UpperAscii(AConn->Provider().toLocal8Bit());
    for (const char* Marker : AMarkers) {
        if (AConn->ProviderText.contains(QLatin1String(Marker)))
            return true;
    }
    return false;
}

QString Piece(const QStringList& AValues, qsizetype AIndex) {
    return AValues.value(AIndex);
}

// The fallback form nests one IIF per pair, so no pair is lost; with one
// pair and a default it is the plain IIF(Expr=c,r,default).
QString FallbackDecode(const QString& AExpr, const QStringList& AValues) {
    const qsizetype Count = AValues.size();
    if (Count <= 3)
        return QStringLiteral("IIF(") + AExpr + QLatin1Char('=') + Piece(AValues, 0) +
               QLatin1Char(',') + Piece(AValues, 1) + QLatin1Char(',') + Piece(AValues, Count - 1) +
               QLatin1Char(')');
    return QStringLiteral("IIF(") + AExpr + QLatin1Char('=') + AValues[0] + QLatin1Char(',') +
           AValues[1] + QLatin1Char(',') + FallbackDecode(AExpr, AValues.mid(2)) + QLatin1Char(')');
}

} // namespace

bool IsAccessConn(TAdoConn* AConn) {
    return ProviderMatches(AConn, {"ACCESS", "JET.OLEDB"});
}

// MSOLEDBSQL and SQLNCLI are the current SQL Server providers; without them
// those sites would get the fallback concatenation and length, which SQL
// Server does not understand.
bool IsSqlServerConn(TAdoConn* AConn) {
    return ProviderMatches(AConn, {"MSSQL", "SQLOLEDB", "SQL SERVER", "MSOLEDBSQL", "SQLNCLI"});
}

bool IsOracleConn(TAdoConn* AConn) {
    return ProviderMatches(AConn, {"ORACLE", "ORAOLEDB", "MSDAORA"});
}

QString BuildIif(const QString& AExpr, const QStringList& AValues) {
    const qsizetype Count = AValues.size();
    if (Count <= 3)
        return QStringLiteral(" IIF(") + AExpr + QLatin1Char('=') + Piece(AValues, 0) +
               QLatin1Char(',') + Piece(AValues, 1) + QLatin1Char(',') + Piece(AValues, Count - 1) +
               QLatin1Char(')');
    return QStringLiteral(" IIF(") + AExpr + QLatin1Char('=') + AValues[0] + QLatin1Char(',') +
           AValues[1] + QStringLiteral(",(") + BuildIif(AExpr, AValues.mid(2)) +
           QStringLiteral("))");
}

QString BuildDecode(TAdoConn* AConn, const QString& AExpr, const QStringList& AValues) {
    const qsizetype Count = AValues.size();
    if (IsOracleConn(AConn)) {
        QString Text = QStringLiteral("DECODE(") + AExpr;
        for (const QString& Value : AValues)
            Text += QLatin1Char(',') + Value;
        return Text + QLatin1Char(')');
    }
    if (IsAccessConn(AConn))
        return BuildIif(AExpr, AValues);
    if (IsSqlServerConn(AConn)) {
        QString Text = QStringLiteral(" CASE  ");
        for (qsizetype Pair = 0; Pair < Count / 2; ++Pair)
            Text += QStringLiteral(" WHEN ") + AExpr + QLatin1Char('=') + AValues[2 * Pair] +
                    QStringLiteral(" THEN ") + AValues[2 * Pair + 1] + QLatin1Char(' ');
        if (Count % 2 == 1)
            Text += QStringLiteral(" ELSE ") + AValues[Count - 1] + QLatin1Char(' ');
        return Text + QStringLiteral(" END ") + QLatin1Char(' ');
    }
    return FallbackDecode(AExpr, AValues);
}

QString BuildNvl(TAdoConn* AConn, const QString& AExpr, const QString& ADefault) {
    const QString Default = QuotedSqlString(ADefault);
    if (IsOracleConn(AConn))
        return QStringLiteral("NVL(") + AExpr + QLatin1Char(',') + Default + QLatin1Char(')');
    if (IsAccessConn(AConn))
        return QStringLiteral("IIF(ISNULL(") + AExpr + QStringLiteral("),") + Default +
               QLatin1Char(',') + AExpr + QLatin1Char(')');
    if (IsSqlServerConn(AConn))
        return QStringLiteral("ISNULL(") + AExpr + QLatin1Char(',') + Default + QLatin1Char(')');
    return QStringLiteral("COALESCE(") + AExpr + QLatin1Char(',') + Default + QLatin1Char(')');
}

QString SubstringFunction(TAdoConn* AConn) {
    if (IsOracleConn(AConn))
        return QStringLiteral("SUBSTR");
    if (IsAccessConn(AConn))
        return QStringLiteral("MID");
    return QStringLiteral("SUBSTRING");
}

QString BuildConcat(TAdoConn* AConn, const QStringList& AExprs) {
    const bool Plus = !IsOracleConn(AConn) && (IsAccessConn(AConn) || IsSqlServerConn(AConn));
    return AExprs.join(Plus ? QStringLiteral("+") : QStringLiteral("||"));
}

QString BuildLength(TAdoConn* AConn, const QString& AExpr) {
    const bool Len = !IsOracleConn(AConn) && (IsAccessConn(AConn) || IsSqlServerConn(AConn));
    return (Len ? QStringLiteral("len(") : QStringLiteral("LENGTH(")) + AExpr + QLatin1Char(')');
}
