#pragma once

#include <QString>

class TSqlDialect;
struct TReportFilter;

// The queries the audit holds a table against: the same rows as the
// table's query, counted once, without the table's grouping by unit,
// subject and indicator, so they cost a fraction of it. Amounts in yuan.

// The detail table of AFundCode: per unit-code length (eidlen) and whether
// the code is the selection's own (own 1 or 0), the number of adjustments
// (n) and the detail query's amount columns summ, jbsb, xmsb, jbzj, jbsq,
// xmzj, xmsq, gyzb, gyfy, gyqt.
QString DetailTotalsSql(const TReportFilter& AFilter, const QString& AFundCode,
                        const TSqlDialect& ADialect);

// The pieces the summary table's columns are made of, per fund nature.
enum TKindChannel {
    Basic10,
    Basic20,
    Project10,
    Project20,
    Capital10,
    Capital20,
    Expense10,
    Expense20,
    Other10,
    Other20,
    BasicFormer,
    ProjectFormer,
    KindChannelCount
};

// The summary table: per fund nature (mid, mname), the number of
// adjustments (n), their sum (summ) and one column per TKindChannel, named
// k0 to k11.
QString SummaryTotalsSql(const TReportFilter& AFilter, const TSqlDialect& ADialect);

// The rows a table's query drops because they net to zero or less: for the
// detail table of AFundCode per unit-code length (eidlen) and own code (own,
// as above), for the summary table per fund nature (mid); their number (n)
// and their sum (summ). Grouped as the tables group their rows, by the
// codes alone: the names are the codes' own (keys of pubdept,
// pubbudgetsubject, busiindicator), and grouping by them would make the
// database join those tables for nothing.
QString DetailDroppedSql(const TReportFilter& AFilter, const QString& AFundCode,
                         const TSqlDialect& ADialect);
QString SummaryDroppedSql(const TReportFilter& AFilter, const TSqlDialect& ADialect);

class TDetailAudit;
class TSummaryAudit;

// Run the totals query of a table and hand its rows to the table's audit;
// false, with the database's reason in AError, when it cannot be opened.
bool CountDetailTotals(TDetailAudit& AAudit, const TReportFilter& AFilter, const QString& AFundCode,
                       QString& AError);
bool CountSummaryTotals(TSummaryAudit& AAudit, const TReportFilter& AFilter, QString& AError);
bool CountDetailDropped(TDetailAudit& AAudit, const TReportFilter& AFilter,
                        const QString& AFundCode, QString& AError);
bool CountSummaryDropped(TSummaryAudit& AAudit, const TReportFilter& AFilter, QString& AError);
