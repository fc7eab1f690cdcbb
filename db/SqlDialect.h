#pragma once

#include <QString>
#include <QStringList>

class TAdoConn;

// Pieces of SQL that differ between the databases the reports run on, as
// functions of a connection. Each runs the kind tests on the connection's
// provider name (Oracle first, then Access, then SQL Server), leaving it in
// ProviderText, and takes its text from the connection's dialect (see
// platform/data/TSqlDialect.h): SQLite and unrecognised providers get the
// fallback forms, PostgreSQL CASE instead of IIF.
//
// The builders only concatenate: they neither quote nor escape the
// expressions and pieces they are given, so callers may split a condition
// across the expression and the first piece. Data never goes in unquoted:
// see SqlLiteral.h.

// Each test stores the provider name in upper case (ASCII letters only) in
// AConn->ProviderText, then looks for its markers anywhere in it.
bool IsAccessConn(TAdoConn* AConn);
bool IsSqlServerConn(TAdoConn* AConn);
bool IsOracleConn(TAdoConn* AConn);

// A value chosen by comparing AExpr with each condition of AValues, which
// holds condition/result pairs followed by one default.
QString BuildDecode(TAdoConn* AConn, const QString& AExpr, const QStringList& AValues);
// The Access form of BuildDecode: one nested IIF per pair.
QString BuildIif(const QString& AExpr, const QStringList& AValues);
// AExpr, or the quoted text ADefault where AExpr is NULL.
QString BuildNvl(TAdoConn* AConn, const QString& AExpr, const QString& ADefault);
// The name of the substring function; the caller writes the arguments.
QString SubstringFunction(TAdoConn* AConn);

// String concatenation of the expressions in order: "a+b" on SQL Server and
// Access, "a||b" on Oracle and the fallback kind.
QString BuildConcat(TAdoConn* AConn, const QStringList& AExprs);
// The length of a string: "len(x)" on SQL Server and Access, "LENGTH(x)" on
// Oracle and the fallback kind. The result is a number on every kind;
// compare it with numbers, not with quoted text (SQLite never finds an
// integer equal to a text).
QString BuildLength(TAdoConn* AConn, const QString& AExpr);
