#pragma once

#include <QString>

class TSqlDialect;

// What a proposal table is drawn for: the choices of the report window (or
// of the batch tool) that every query reads. A value: copy it freely.
struct TReportFilter {
    int Year = 0;
    // The logged-in unit's department class, written in decimal.
    int DeptClass = 0;
    // Index of the indicator type: "0" 控制数, "1" 预算数, "2" 临时指标.
    QString BTypeIndex;
    // Index of the indicator sub-type, read only for 预算数: 0 当年预算,
    // 1 结余预算, 2 追加预算.
    int SubTypeIndex = 0;
    // Unit code prefix of every "eid like" condition.
    QString UnitPrefix;
    // Caption of the selected unit; leads the titles and total labels.
    QString UnitName;

    // The sub-type condition, only for 预算数.
    QString SubTypeCondition() const;
    // The window's filter over busibudgetadj, beginning with " where".
    QString WindowFilter(const TSqlDialect& ADialect) const;
    // The filter each block of the summary query appends to "where 1=1 ".
    QString SummaryFilter(const TSqlDialect& ADialect) const;
    // The filter of the detail query, before its fund-nature condition.
    QString DetailFilter(const TSqlDialect& ADialect) const;

private:
    QString UnitCondition(const TSqlDialect& ADialect) const;
};
