#include "TSqlDialect.h"

#include <array>

namespace {

QString UpperAscii(const QString& AText) {
    QByteArray Upper = AText.toLocal8Bit();
    for (char& C : Upper) {
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    }
    return QString::fromLatin1(Upper);
}

struct TKindMarkers {
    TSqlKind Kind;
    std::array<const char*, 5> Markers; // unused places stay null
};

// MSOLEDBSQL and SQLNCLI are the current SQL Server providers; without them
// those sites would get the fallback concatenation and length, which SQL
// Server does not understand.
constexpr std::array<TKindMarkers, 5> KindMarkers = {{
    {TSqlKind::Oracle, {"ORACLE", "ORAOLEDB", "MSDAORA"}},
    {TSqlKind::Access, {"ACCESS", "JET.OLEDB"}},
    {TSqlKind::SqlServer, {"MSSQL", "SQLOLEDB", "SQL SERVER", "MSOLEDBSQL", "SQLNCLI"}},
    {TSqlKind::SQLite, {"SQLITE"}},
    {TSqlKind::PostgreSQL, {"POSTGRES", "PGSQL"}},
}};

QString Piece(const QStringList& AValues, qsizetype AIndex) {
    return AValues.value(AIndex);
}

// The fallback form nests one IIF per pair, so no pair is lost; with one
// pair and a default it is the plain IIF(Expr=c,r,default).
QString FallbackDecode(const QString& AExpr, const QStringList& AValues) {
    const qsizetype Count = AValues.size();
    QString Text = QStringLiteral("IIF(") + AExpr + QLatin1Char('=') + Piece(AValues, 0) +
                   QLatin1Char(',') + Piece(AValues, 1) + QLatin1Char(',');
    if (Count <= 3)
        return Text + Piece(AValues, Count - 1) + QLatin1Char(')');
    return Text + FallbackDecode(AExpr, AValues.mid(2)) + QLatin1Char(')');
}

// SQL Server's searched CASE; PostgreSQL takes the same text.
QString CaseDecode(const QString& AExpr, const QStringList& AValues) {
    const qsizetype Count = AValues.size();
    QString Text = QStringLiteral(" CASE  ");
    for (qsizetype Pair = 0; Pair < Count / 2; ++Pair)
        Text += QStringLiteral(" WHEN ") + AExpr + QLatin1Char('=') + AValues[2 * Pair] +
                QStringLiteral(" THEN ") + AValues[2 * Pair + 1] + QLatin1Char(' ');
    if (Count % 2 == 1)
        Text += QStringLiteral(" ELSE ") + AValues[Count - 1] + QLatin1Char(' ');
    return Text + QStringLiteral(" END ") + QLatin1Char(' ');
}

QString QuotedText(const QString& AText) {
    QString Doubled = AText;
    Doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + Doubled + QLatin1Char('\'');
}

} // namespace

bool TSqlDialect::HasMarker(const QString& AUpperProvider, TSqlKind AKind) {
    for (const TKindMarkers& Entry : KindMarkers) {
        if (Entry.Kind != AKind)
            continue;
        for (const char* Marker : Entry.Markers) {
            if (Marker && AUpperProvider.contains(QLatin1String(Marker)))
                return true;
        }
    }
    return false;
}

TSqlKind TSqlDialect::KindOfProvider(const QString& AProvider) {
    const QString Upper = UpperAscii(AProvider);
    for (TSqlKind Kind : {TSqlKind::Oracle, TSqlKind::Access, TSqlKind::SqlServer, TSqlKind::SQLite,
                          TSqlKind::PostgreSQL}) {
        if (HasMarker(Upper, Kind))
            return Kind;
    }
    return TSqlKind::Other;
}

const TSqlDialect& TSqlDialect::ForKind(TSqlKind AKind) {
    static const std::array<TSqlDialect, 6> Dialects = {
        TSqlDialect(TSqlKind::SqlServer),  TSqlDialect(TSqlKind::Access),
        TSqlDialect(TSqlKind::Oracle),     TSqlDialect(TSqlKind::SQLite),
        TSqlDialect(TSqlKind::PostgreSQL), TSqlDialect(TSqlKind::Other)};
    return Dialects[static_cast<size_t>(AKind)];
}

const TSqlDialect& TSqlDialect::ForProvider(const QString& AProvider) {
    return ForKind(KindOfProvider(AProvider));
}

QString TSqlDialect::Iif(const QString& AExpr, const QStringList& AValues) {
    const qsizetype Count = AValues.size();
    QString Text = QStringLiteral(" IIF(") + AExpr + QLatin1Char('=') + Piece(AValues, 0) +
                   QLatin1Char(',') + Piece(AValues, 1);
    if (Count <= 3)
        return Text + QLatin1Char(',') + Piece(AValues, Count - 1) + QLatin1Char(')');
    return Text + QStringLiteral(",(") + Iif(AExpr, AValues.mid(2)) + QStringLiteral("))");
}

QString TSqlDialect::Decode(const QString& AExpr, const QStringList& AValues) const {
    switch (FKind) {
    case TSqlKind::Oracle: {
        QString Text = QStringLiteral("DECODE(") + AExpr;
        for (const QString& Value : AValues)
            Text += QLatin1Char(',') + Value;
        return Text + QLatin1Char(')');
    }
    case TSqlKind::Access:
        return Iif(AExpr, AValues);
    case TSqlKind::SqlServer:
    case TSqlKind::PostgreSQL:
        return CaseDecode(AExpr, AValues);
    case TSqlKind::SQLite:
    case TSqlKind::Other:
        break;
    }
    return FallbackDecode(AExpr, AValues);
}

QString TSqlDialect::Nvl(const QString& AExpr, const QString& ADefault) const {
    const QString Default = QuotedText(ADefault);
    switch (FKind) {
    case TSqlKind::Oracle:
        return QStringLiteral("NVL(") + AExpr + QLatin1Char(',') + Default + QLatin1Char(')');
    case TSqlKind::Access:
        return QStringLiteral("IIF(ISNULL(") + AExpr + QStringLiteral("),") + Default +
               QLatin1Char(',') + AExpr + QLatin1Char(')');
    case TSqlKind::SqlServer:
        return QStringLiteral("ISNULL(") + AExpr + QLatin1Char(',') + Default + QLatin1Char(')');
    default:
        return QStringLiteral("COALESCE(") + AExpr + QLatin1Char(',') + Default + QLatin1Char(')');
    }
}

QString TSqlDialect::Substring() const {
    if (FKind == TSqlKind::Oracle)
        return QStringLiteral("SUBSTR");
    if (FKind == TSqlKind::Access)
        return QStringLiteral("MID");
    return QStringLiteral("SUBSTRING");
}

QString TSqlDialect::Concat(const QStringList& AExprs) const {
    return AExprs.join(WritesPlus() ? QStringLiteral("+") : QStringLiteral("||"));
}

QString TSqlDialect::Length(const QString& AExpr) const {
    return (WritesPlus() ? QStringLiteral("len(") : QStringLiteral("LENGTH(")) + AExpr +
           QLatin1Char(')');
}

QString TSqlDialect::LikePrefix(const QString& APrefix) const {
    // SQL Server and Access take a wildcard literally inside brackets; the
    // others are given an escape character. PostgreSQL treats a backslash as
    // an escape even without an ESCAPE clause, so it counts as special too.
    const bool Brackets = WritesPlus();
    const QString Special = Brackets ? QStringLiteral("%_[") : QStringLiteral("%_\\");
    QString Escaped;
    bool Changed = false;
    for (const QChar C : APrefix) {
        if (Special.contains(C)) {
            Escaped +=
                Brackets ? QLatin1Char('[') + C + QLatin1Char(']') : QStringLiteral("\\") + C;
            Changed = true;
        } else {
            Escaped += C;
        }
    }
    const QString Literal = QuotedText(Escaped + QLatin1Char('%'));
    if (!Changed || Brackets)
        return Literal;
    return Literal + QStringLiteral(" escape '\\'");
}
