#pragma once

#include "TAuditAmounts.h"
#include "TAuditResult.h"
#include "TPrintedTotals.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

// What a table fill reports besides the grid it drew.
struct TFillResult {
    // The database's reason when a query of the table could not be opened.
    // The grid then shows its template alone, which must not pass for a
    // table without data.
    QString QueryError;
    // Why the template cannot hold the table (missing, unreadable, of
    // another shape); nothing is queried then.
    QString TemplateError;
    // Rows whose amounts are not finite numbers (an overflowed sum, a text
    // in the amount column), described by unit, subject and indicator: such
    // a table must not be delivered as if it were sound.
    QStringList NotFiniteRows;
    // Rows the table's query returned.
    int QueryRows = 0;
    TAuditResult Audit;
    // The detail table's grand total (as printed, or as counted when the
    // table has no grand-total row); the summary table's block totals by
    // fund code. What the two tables of one selection are compared by.
    TAuditAmounts GrandTotal;
    std::map<QString, TAuditAmounts> BlockTotals;
    // What the table's cells must print and why its printed totals may
    // differ from the rows under them; Check holds a grid against it again.
    // Empty when no row was drawn.
    std::shared_ptr<const TPrintedTotals> Printed;

    bool Failed() const { return !QueryError.isEmpty() || !TemplateError.isEmpty(); }
    QString Error() const { return TemplateError.isEmpty() ? QueryError : TemplateError; }
    bool Unsound() const { return !NotFiniteRows.isEmpty(); }
    // What the table's outcome is, in one line for a status strip: the
    // failed query or template, "无数据", or the audit's result.
    QString StatusLine() const;
    // The table's audit, with a difference without a cause for each row of
    // NotFiniteRows.
    void SetAudit(TAuditResult AAudit, bool ANoData);
    // The table's audit once its rows are drawn: with APrinted (a table
    // with rows) the printed totals of AGrid are held against it first, and
    // kept in Printed; without, the table has no data.
    void FinishAudit(TAuditResult AAudit, const TCellDocument& AGrid,
                     const TPrintedTotals* APrinted);
};
