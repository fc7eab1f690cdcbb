#pragma once

#include "platform/PlatformExport.h"

#include <QString>
#include <QStringList>

// The kinds of database the reports run on.
enum class TSqlKind { SqlServer, Access, Oracle, SQLite, PostgreSQL, Other };

// The pieces of SQL that differ between database kinds, chosen once per
// connection from its ADO provider name. The SQL Server, Access and Oracle
// forms are the ones the report queries were written for; SQLite and any
// unrecognised provider get the fallback forms (IIF, COALESCE, SUBSTRING,
// "||", LENGTH), which SQLite runs natively; PostgreSQL gets CASE instead of
// IIF.
//
// The builders only concatenate: they neither quote nor escape the
// expressions and pieces they are given, so callers may split a condition
// across the expression and the first piece. Data never goes in unquoted:
// see LikePrefix and db/SqlLiteral.h.
class PLATFORM_EXPORT TSqlDialect {
public:
    // The provider name's markers are looked for in the name in upper case
    // (ASCII letters only): Oracle first, then Access, then SQL Server, then
    // SQLite and PostgreSQL, so a name matching several lists is settled the
    // same way everywhere.
    static TSqlKind KindOfProvider(const QString& AProvider);
    // Whether the upper-case provider name carries one of the kind's markers.
    static bool HasMarker(const QString& AUpperProvider, TSqlKind AKind);
    static const TSqlDialect& ForKind(TSqlKind AKind);
    static const TSqlDialect& ForProvider(const QString& AProvider);

    TSqlKind Kind() const { return FKind; }

    // A value chosen by comparing AExpr with each condition of AValues, which
    // holds condition/result pairs followed by one default.
    QString Decode(const QString& AExpr, const QStringList& AValues) const;
    // AExpr, or the quoted text ADefault where AExpr is NULL.
    QString Nvl(const QString& AExpr, const QString& ADefault) const;
    // The name of the substring function; the caller writes the arguments.
    QString Substring() const;
    // String concatenation of the expressions in order.
    QString Concat(const QStringList& AExprs) const;
    // The length of a string, a number on every kind: compare it with
    // numbers (SQLite never finds an integer equal to a text).
    QString Length(const QString& AExpr) const;
    // The literal of a LIKE pattern that matches every text starting with
    // APrefix: '<prefix>%' for ordinary codes. Quotes are doubled, and
    // wildcard characters in the prefix are escaped in this kind's form, so
    // a code is matched as the text it is.
    QString LikePrefix(const QString& APrefix) const;

    // The Access form of Decode: one nested IIF per pair, with a blank
    // before each IIF.
    static QString Iif(const QString& AExpr, const QStringList& AValues);

private:
    explicit TSqlDialect(TSqlKind AKind)
        : FKind(AKind) {}

    bool WritesPlus() const { return FKind == TSqlKind::SqlServer || FKind == TSqlKind::Access; }

    TSqlKind FKind;
};
