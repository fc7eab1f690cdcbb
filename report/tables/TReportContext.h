#pragma once

#include "ReportTitles.h"
#include "TReportFilter.h"

#include <QString>

// Everything a table fill reads besides the database: the filter, the
// texts above the table and what the host says about the logged-in unit.
struct TReportContext {
    TReportFilter Filter;
    TReportTitles Titles;
    // "部门" for a department user, else "单位".
    QString UnitWord;
    // The host's template folder, used as it stands: file names are
    // appended directly.
    QString TemplateFolder;
    // Whether the logged-in unit counts as a department.
    bool DepartmentUser = false;
    // Whether the logged-in unit's parent group holds fewer than three
    // units: the detail table then has no grand-total row.
    bool ParentHasFewUnits = false;
};
