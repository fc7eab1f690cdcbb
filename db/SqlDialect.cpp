#include "SqlDialect.h"

#include "platform/Exception.h"
#include "platform/data/TAdoConn.h"
#include "platform/data/TSqlDialect.h"

namespace {

QString UpperAscii(const QByteArray& AText) {
    QByteArray Upper = AText;
    for (char& C : Upper) {
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    }
    return QString::fromLatin1(Upper);
}

// Each kind test leaves the provider name it looked at in ProviderText.
bool ProviderIs(TAdoConn* AConn, TSqlKind AKind) {
    if (!AConn)
        throw EDatabaseError(QStringLiteral("没有数据库连接，无法确定数据库的种类"));
    AConn->ProviderText = UpperAscii(AConn->Provider().toLocal8Bit());
    return TSqlDialect::HasMarker(AConn->ProviderText, AKind);
}

const TSqlDialect& DialectOf(TAdoConn* AConn) {
    if (!AConn)
        throw EDatabaseError(QStringLiteral("没有数据库连接，无法确定数据库的种类"));
    // The kind tests run in a fixed order, so that ProviderText ends as the
    // callers read it; the dialect itself is the connection's.
    if (!IsOracleConn(AConn) && !IsAccessConn(AConn))
        IsSqlServerConn(AConn);
    return AConn->Dialect();
}

} // namespace

bool IsAccessConn(TAdoConn* AConn) {
    return ProviderIs(AConn, TSqlKind::Access);
}

bool IsSqlServerConn(TAdoConn* AConn) {
    return ProviderIs(AConn, TSqlKind::SqlServer);
}

bool IsOracleConn(TAdoConn* AConn) {
    return ProviderIs(AConn, TSqlKind::Oracle);
}

QString BuildIif(const QString& AExpr, const QStringList& AValues) {
    return TSqlDialect::Iif(AExpr, AValues);
}

QString BuildDecode(TAdoConn* AConn, const QString& AExpr, const QStringList& AValues) {
    return DialectOf(AConn).Decode(AExpr, AValues);
}

QString BuildNvl(TAdoConn* AConn, const QString& AExpr, const QString& ADefault) {
    return DialectOf(AConn).Nvl(AExpr, ADefault);
}

QString SubstringFunction(TAdoConn* AConn) {
    return DialectOf(AConn).Substring();
}

QString BuildConcat(TAdoConn* AConn, const QStringList& AExprs) {
    return DialectOf(AConn).Concat(AExprs);
}

QString BuildLength(TAdoConn* AConn, const QString& AExpr) {
    return DialectOf(AConn).Length(AExpr);
}
