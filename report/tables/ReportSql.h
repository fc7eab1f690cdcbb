#pragma once

#include <QString>

class TSqlDialect;

// The sum of BudgMoney over the rows where AName=ARest holds, 0 where there
// are none: ARest carries the rest of the condition (it may close a
// parenthesis that AName opens). On SQL Server:
//   ISNULL(sum( CASE   WHEN ipid='11' and pid='31'  THEN BudgMoney  ELSE 0  END  ),'0')
QString ConditionalSum(const TSqlDialect& ADialect, const QString& AName, const QString& ARest);

// The three levels of a derived table's budget subject b.bid as the
// columns lei, kuan and xiang, each followed by a comma.
QString SubjectLevelColumns(const TSqlDialect& ADialect);
