#pragma once

#include "TReportContext.h"

#include <QString>

// What the report reads from the host, read anew at every use: the host may
// change its context between two calls.

int HostYear();
// The logged-in unit's department class, item 4 of the unit, as a number.
int HostDeptClass();
// The logged-in unit's code, item 0 of the unit; NULL reads as empty text.
QString HostUnitCode();
// The unit tree's root: the logged-in unit's parent group, its code less
// the last three characters.
QString UnitTreeRoot(const QString& ALogin);
// The prefix the tree's top node selects: the logged-in unit's department.
QString TopNodePrefix(const QString& ALogin);
// The template folder (system parameter 11), as the host wrote it.
QString HostTemplateFolder();
// The host's current indicator type, 0 to 2.
int HostDefBTypeIndex();
bool HostIsDepartmentUser();

// The context of a table for the window's choices: AFilter's type,
// sub-type, prefix and unit name with the host's year and class, the titles
// for the indicator type's text and the fund nature's code, and what the
// host says of the logged-in unit.
TReportContext MakeReportContext(const TReportFilter& AFilter, const QString& ABTypeText,
                                 const QString& AFundCode);
