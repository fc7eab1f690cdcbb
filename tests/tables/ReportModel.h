#pragma once

#include "report/tables/TReportFilter.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <array>
#include <vector>

// The two tables' rows worked out straight from the adjustments, without
// SQL, to hold the queries against: what a clerk would total by hand.
struct TModelRow {
    QStringList Texts;             // the query's text columns, in its order
    std::array<double, 10> Sums{}; // the query's amounts, in its order, in 万元
};

struct TAdjustment {
    int Year = 0;
    QString Eid, Ename, DeptClass, Mid, Mname, Bid, Bname, Iid, Iname, Ipid, Pid, BType, Bkid,
        BTypeChild;
    double Yuan = 0;
};

// The adjustments as the model reads them, and the rows of that query made
// into adjustments.
extern const char AdjustmentsSql[];
std::vector<TAdjustment> ToAdjustments(const QList<QVariantList>& ARows);

// Texts: mid, mname, lei, kuan, xiang, bname; sums: summ, jbsb, xmsb, jbzj,
// jbsq, xmzj, xmsq, gyqtzj, gyqtsq.
std::vector<TModelRow> SummaryModel(const std::vector<TAdjustment>& AAll,
                                    const TReportFilter& AFilter);
// Texts: eid, ename, lei, kuan, xiang, bname, iid, iname; sums: summ, jbsb,
// xmsb, jbzj, jbsq, xmzj, xmsq, gyzb, gyfy, gyqt.
std::vector<TModelRow> DetailModel(const std::vector<TAdjustment>& AAll,
                                   const TReportFilter& AFilter, const QString& AFund,
                                   bool AWithGrandTotal, int AFirstLevel, int ALastLevel);
