#pragma once

#include "cell/TCellPdfInfo.h"

#include <QString>

struct TReportFilter;

// The document properties of a printed table: the title as printed (cell
// (1,1) of the grid, given here), the selection the table shows (year,
// indicator type and, for 预算数, its sub-type, unit, fund nature as the
// fund-nature list names it) and the product with its version.
TCellPdfInfo ReportPdfInfo(const QString& ATitle, const TReportFilter& AFilter,
                           const QString& ABTypeText, const QString& AFundText);
