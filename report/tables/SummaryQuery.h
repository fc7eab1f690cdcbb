#pragma once

#include "TQueryColumns.h"

#include <QString>

class TADOQuery;
class TSqlDialect;
struct TReportFilter;

// One row of the summary proposal table's query: its texts...
struct TSummaryRowText {
    QString mid;
    QString mname;
    QString lei;
    QString kuan;
    QString xiang;
    QString bname;
};

// ...and its amounts, in ten-thousand yuan (NULL reads as 0).
struct TSummaryRowAmounts {
    double summ = 0;
    double jbsb = 0;
    double xmsb = 0;
    double jbzj = 0;
    double jbsq = 0;
    double xmzj = 0;
    double xmsq = 0;
    double gyqtzj = 0;
    double gyqtsq = 0;

    // Whether every amount is a finite number.
    bool Finite() const;
};

// The one query of the summary table: the grand total (orderid 0) and one
// block per fund nature (11, 12, 21, 31 as orderid 1 to 4), each a total row
// and a row per budget subject; rows whose total is not above zero dropped,
// ordered by block and subject code. Written for SQL Server, with the
// dialect's pieces wherever other databases need their own.
QString BuildSummarySql(const TReportFilter& AFilter, const TSqlDialect& ADialect);

// Reads the query's current row into both records; does not move the query.
void ReadSummaryRow(const TADOQuery& AQuery, TSummaryRowText& AText, TSummaryRowAmounts& AAmounts);

// ReadSummaryRow for many rows of one query: the fields are looked up once.
class TSummaryRowReader {
public:
    explicit TSummaryRowReader(const TADOQuery& AQuery);
    void Read(TSummaryRowText& AText, TSummaryRowAmounts& AAmounts) const;
    // The row's orderid: 0 the grand total, 1 to 4 a fund nature's block.
    int Order() const;

private:
    TQueryColumns FColumns;
};
