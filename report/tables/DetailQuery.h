#pragma once

#include "TQueryColumns.h"

#include <QString>

class TADOQuery;
class TSqlDialect;
struct TReportFilter;

// One row of the detail proposal table's query: its texts...
struct TDetailRowText {
    QString eid;
    QString ename;
    QString lei;
    QString kuan;
    QString xiang;
    QString bname;
    QString iid;
    QString iname;
};

// ...and its amounts, in ten-thousand yuan (NULL reads as 0).
struct TDetailRowAmounts {
    double summ = 0;
    double jbsb = 0;
    double xmsb = 0;
    double jbzj = 0;
    double jbsq = 0;
    double xmzj = 0;
    double xmsq = 0;
    double gyzb = 0;
    double gyfy = 0;
    double gyqt = 0;

    // Whether every amount is a finite number.
    bool Finite() const;
};

// The unit levels the detail table shows, first to last.
struct TLevelRange {
    int First = 0;
    int Last = 0;
};

// What the detail query is built from besides the filter.
struct TDetailQueryParts {
    // The fund nature's code; empty leaves out the fund-nature condition.
    QString FundCode;
    // The grand-total row heads the table unless the logged-in unit's parent
    // group holds few units.
    bool WithGrandTotal = true;
    TLevelRange Levels;
};

// The one query of the detail table: the grand total (orderid 0, when
// asked for), then per unit level its subtotal and the rows of its units by
// subject and indicator; rows whose total is not above zero dropped.
QString BuildDetailSql(const TReportFilter& AFilter, const TDetailQueryParts& AParts,
                       const TSqlDialect& ADialect);

// The levels for a unit prefix: from the prefix's own level when it names
// an own-level unit (ends in "001") or a unit without sub-units (no leaf
// deeper than itself), else from the level below it; down to the deepest
// leaf unit under it (AMaxLeafClass), never an empty range.
TLevelRange DetailLevelRange(const QString& APrefix, int AMaxLeafClass);
// The same with the deepest leaf class read from pubdept.
TLevelRange DetailLevelRange(const QString& APrefix);
// The largest class of the leaf units under the prefix on the "Def"
// connection; 0 when there is none or the query cannot be opened.
int MaxLeafClass(const QString& APrefix);
QString MaxLeafClassSql(const QString& APrefix, const TSqlDialect& ADialect);
// 一 to 九 for 1 to 9; empty text for any other number.
QString LevelNumeral(int ALevel);

// Reads the query's current row into both records; does not move the query.
void ReadDetailRow(const TADOQuery& AQuery, TDetailRowText& AText, TDetailRowAmounts& AAmounts);

// ReadDetailRow for many rows of one query: the fields are looked up once.
class TDetailRowReader {
public:
    explicit TDetailRowReader(const TADOQuery& AQuery);
    void Read(TDetailRowText& AText, TDetailRowAmounts& AAmounts) const;
    // The row's orderid: the block it belongs to.
    int Order() const;

private:
    TQueryColumns FColumns;
};
