#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QComboBox;

// The drop-down lists of the report window, filled from the "Def"
// connection. A query that cannot be opened counts as an empty result.
// Filling a list never runs its change handler: the window reacts to the
// user's choices only.

// Clears AList, then, when ASql gives rows, adds "<全部>" first (when
// AIncludeAll) and the column "name" of every row in query order and
// selects the first entry. Returns the number of query rows. Each entry
// keeps the row's column "id" as its data ("<全部>" an empty one): names
// need not be unique, codes are. AError, when given, receives the
// database's reason when the query failed, and is emptied otherwise.
int FillListFromQuery(QComboBox& AList, const QString& ASql, bool AIncludeAll,
                      QString* AError = nullptr);
// Every entry of AList as (its data, its text).
QList<QPair<QString, QString>> ListEntries(const QComboBox& AList);

// Fills AList with the fund natures of the variant's query (see
// MoneyKindListSql), AExtra appended to its condition.
int FillMoneyKindList(QComboBox& AList, bool AIncludeAll, int AVariant, bool ADescending,
                      const QString& AExtra);

// "控制数" and "预算数", "临时指标" too when AIncludeTemporary, after
// "<全部>" when AIncludeAll; the host's current indicator type is selected
// (temporary becomes control figures when the list has no temporary entry).
void FillIndicatorKindList(QComboBox& AList, bool AIncludeAll, bool AIncludeTemporary);
