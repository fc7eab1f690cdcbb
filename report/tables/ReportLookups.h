#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TSqlDialect;

// Small lookups of the report window on the host's "Def" connection. A query
// that cannot be opened counts as finding nothing: the window shows no
// database error of its own.

// The dialect of the "Def" connection; the fallback kind when the host has
// given no connection registry (every query then fails and counts as empty).
const TSqlDialect& DefDialect();

// " select AField from ATable where 1=1", with " and " ACondition when
// that is not blank.
QString LookupSql(const QString& ATable, const QString& AField, const QString& ACondition);
// The first column of the first row of LookupSql; empty text and false when
// the query fails or finds no row.
bool LookupValue(const QString& ATable, const QString& AField, const QString& ACondition,
                 QString& AValue);
// The fund-nature code for a fund-nature name; empty text for "<全部>", an
// empty name or a name that is not in pubmoneykind.
QString LookupMoneyKindId(const QString& AName);
QString MoneyKindIdSql(const QString& AName);
// The name pubdept gives the unit; empty text when there is no such unit.
QString UnitName(const QString& AEid);
// The title of the unit tree's top node.
inline constexpr const char UnitTreeTitle[] = "预算单位列表";
// The name the unit tree's top node stands under, for its prefix: the unit
// group of that code in pubdept, or the tree's title when pubdept has no
// name for it. It leads the titles and the grand-total label.
QString TopNodeName(const QString& APrefix);
// Whether pubdept marks the unit as having a special fiscal account ("是").
bool IsSpecialAccount(const QString& AEid);
QString SpecialAccountSql(const QString& AEid);

// The column "name" of every row of ASql in query order, after "<全部>" when
// AIncludeAll and there is a row; nothing when the query fails or is empty.
QStringList ListFromQuery(const QString& ASql, bool AIncludeAll);
// The columns "id" (empty when the query has none) and "name" of every row
// of ASql in query order; nothing when the query fails.
QList<QPair<QString, QString>> CodedListFromQuery(const QString& ASql);
// The query of the fund-nature list: variant 0 every fund nature, 1 the
// funds 11, 12, 31, 2 the funds 11, 21 (always by descending code), 3 the
// funds 11, 12; AExtra appended to the condition. Empty for other variants.
QString MoneyKindListSql(int AVariant, bool ADescending, const QString& AExtra);
// The names of the fund natures that have data in busibudgetadj under the
// window's filter (a text beginning with " where"), after "<全部>"; nothing
// when none has data.
QStringList FundNaturesWithData(const QString& AWindowFilter);
// The same as (code, name) pairs: names need not be unique.
QList<QPair<QString, QString>> CodedFundNaturesWithData(const QString& AWindowFilter);
QString FundNaturesSql(const QString& AWindowFilter);

// The units in use (as the unit tree shows them) whose codes begin with
// APrefix, APrefix itself left out, as (code, name) in code order.
QList<QPair<QString, QString>> UnitsUnder(const QString& APrefix);
QString UnitsUnderSql(const QString& APrefix, const TSqlDialect& ADialect);

// The unit tree's query: every unit in use under ARoot with its code, parent,
// leaf flag, name and the node text "code name".
QString UnitTreeSql(const QString& ARoot, const TSqlDialect& ADialect);
