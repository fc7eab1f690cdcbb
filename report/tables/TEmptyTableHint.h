#pragma once

#include "TReportFilter.h"

#include <QList>
#include <QString>

class TSqlDialect;
struct TFillResult;

// Where the unit's data is when its selection has none: a unit whose rows
// carry another department class than the login's (or another indicator
// type, sub-type or year) shows an empty table, which must not read as a
// unit without data. One read-only query, run only when a table is empty,
// counts the unit's rows by year, class, type and sub-type; the hint names
// the nearest selection that has rows and what to change to reach it.
class TEmptyTableHint {
public:
    // Who reads the hint: the batch tool names its options; the window
    // names the host's login (with the reference host's option) or its own
    // lists.
    enum TReader { BatchReader, WindowReader };

    // The unit's rows of one year, department class, indicator type and
    // sub-type (-1 for types without one).
    struct TSlice {
        int Year = 0;
        int DeptClass = 0;
        int BType = 0;
        int SubType = -1;
        int Rows = 0;
    };

    // The counting query: rows of AFilter's unit prefix (with a payment
    // channel, as the tables count them) by year, class, type and the two
    // columns that make the sub-type.
    static QString Sql(const TReportFilter& AFilter, const TSqlDialect& ADialect);
    // Runs Sql on the "Def" connection; a query that fails gives no hint.
    static TEmptyTableHint Read(const TReportFilter& AFilter);
    // The window's bottom strip for a filled table: AFill's own line, and
    // for a table without data and without a failure the hint after it.
    static QString StatusLine(const TFillResult& AFill, const TReportFilter& AFilter);

    TEmptyTableHint(const TReportFilter& AFilter, QList<TSlice> ASlices);

    // The hint, or empty text when the unit has no rows in any selection
    // either reader can make.
    QString Text(TReader AReader) const;

private:
    TSlice Current() const;
    // Differences of ASlice from the current selection, as a bit set.
    int Differences(const TSlice& ASlice) const;
    const TSlice* Nearest() const;
    QString YearsText(TReader AReader, const TSlice& ANearest) const;

    TReportFilter FFilter;
    QList<TSlice> FSlices;
};
