#pragma once

#include "IARQuery.h"
#include "hostcontext/HostContext.h"

#include <QString>

class TSqlDialect;
#include <QVariant>

// The small lookups every report query relies on. They read the host's
// context through HostContext at each call; GetDefConnection, the connection
// they run on, comes with that context.

// Opens ASql on the "Def" connection. On success AQuery holds the only
// reference to the open query, standing on its first row. Never raises:
// every failure gives false and leaves AQuery as it was.
bool OpenDefQuery(const QString& ASql, IARQueryPtr& AQuery);
// The same, with the reason of a failure in AError (the database's own
// message); AError is empty after a success.
bool OpenDefQuery(const QString& ASql, IARQueryPtr& AQuery, QString& AError);

// The text of one logged-in-unit item; Null reads as empty text.
QString ItemText(const QVariant& AItem);

// Whether the logged-in unit counts as a department: a six-character code
// ending in "001" while the host's department mode is "1".
bool IsDepartmentUnit(const TCurUnit* AUnit);

// Whether fewer than three rows of pubdept share the unit's parent group
// (the parent's own row counted). False for a department, for no unit, and
// when the lookup cannot be run: the caller then keeps its grand total.
bool ParentHasFewUnits(const TCurUnit* AUnit);
// The query ParentHasFewUnits counts: the units whose codes begin with the
// parent group's code.
QString ParentGroupSql(const QString& APrefix, const TSqlDialect& ADialect);
