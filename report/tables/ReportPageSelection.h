#pragma once

#include <QString>

class TCellDocument;
struct TReportFilter;

// The indicator type as the tables read it: for 预算数 with its sub-type
// ("预算数（当年预算）"), otherwise the type alone.
QString ReportIndicatorType(const TReportFilter& AFilter, const QString& ABTypeText);

// The selection a printed page belongs to, at the left of its page line
// ("省教育厅　2024年预算数（当年预算）"): a page apart from the others
// still says which unit, year, type and sub-type it shows. An ampersand of
// a unit's name is shown as its full-width form, since "&P" and "&S" in a
// page text stand for page numbers; a name too long is cut short.
QString ReportPageSelection(const TReportFilter& AFilter, const QString& ABTypeText);

// ADocument's page text with the selection at its left, the rest kept.
void SetPageSelection(TCellDocument& ADocument, const TReportFilter& AFilter,
                      const QString& ABTypeText);
