#pragma once

#include "cell/TCellXlsxWriter.h"

#include <QString>
#include <QtGlobal>

class TSqlDialect;
struct TDetailQueryParts;
struct TReportContext;
struct TReportFilter;

// Whether a table's workbook would pass a worksheet's row limit, worked out
// before the table is filled: filling a table of a million rows takes half
// a minute and more than a gigabyte, only for the workbook to be refused.
// Rows are counted as the workbook writer counts them: the template's
// heading rows and the table's rows below them.
struct TWorksheetFit {
    qint64 Limit = TCellXlsxWriter::WorksheetRows;
    // The rows the filled table will have, at least and at most; equal when
    // the table's query was counted and its first row is known.
    qint64 AtLeast = 0;
    qint64 AtMost = 0;
    // Whether the table's own query was counted. Without that, AtMost is a
    // bound from the adjustments under the table's filter alone.
    bool Counted = false;
    // The database's reason when a count failed: nothing is known then.
    QString QueryError;

    // Sure to pass the limit: the workbook would be refused.
    bool TooLong() const { return QueryError.isEmpty() && AtLeast > Limit; }
    // Sure to fit.
    bool Fits() const { return QueryError.isEmpty() && AtMost <= Limit; }
};

// The rows of the table the fill would draw for AFundCode (empty: the
// summary) on the "Def" connection, against ARowLimit. Cheap first: a count
// of the adjustments under the table's filter bounds the rows, and only a
// table whose bound passes the limit has its own query counted (the
// database's work of the query, without reading or laying out its rows).
// The detail table is then counted exactly, rows split for amounts kept in
// their former channel included, but for the split of a first row that is
// no total (at most two rows); the summary, which never comes near a
// worksheet's rows, is bounded by its query's rows, one to three grid rows
// each.
TWorksheetFit CheckWorksheetFit(const TReportContext& AContext, const QString& AFundCode,
                                int ARowLimit = TCellXlsxWriter::WorksheetRows);

// The counting queries of the check. The adjustments under the table's
// filter (AFundCode empty: the summary's), with those kept in the former
// channel and those of the prefix's own code: one row of n, former, own.
QString WorksheetAdjustmentsSql(const TReportFilter& AFilter, const QString& AFundCode,
                                const TSqlDialect& ADialect);
// The detail table's query rows (n) and the grid rows their splits add
// (split; totalsplit for the total rows alone; none when not ASplits), with
// the first orderid and the first total row's orderid.
QString WorksheetDetailRowsSql(const TReportFilter& AFilter, const TDetailQueryParts& AParts,
                               bool ASplits, const TSqlDialect& ADialect);
// The summary table's query rows (n).
QString WorksheetSummaryRowsSql(const TReportFilter& AFilter, const TSqlDialect& ADialect);
