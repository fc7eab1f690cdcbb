#pragma once

#include <QList>
#include <QString>

// One difference between a table's totals and the sums of what it lists,
// or between two tables: with a known cause (Explained) or without one.
struct TAuditFinding {
    bool Explained = true;
    // What the difference is, in the clerk's words.
    QString Text;
    // Its amount in 万元.
    double Amount = 0;
    // The rows behind it (query rows or adjustments, as Text says); -1 when
    // not counted.
    int Rows = -1;
    // For a difference that shows on paper between a total row and the rows
    // printed under it: the words the status line sums it under ("合计含未列
    // 出的行"); empty for any other.
    QString Printed;
};

// The audit of one table: passed when every difference has a known cause.
class TAuditResult {
public:
    // The table, as the batch tool's lines call it (汇总表, a fund nature).
    QString Table;
    // Whether the audit ran: not when the table's query failed.
    bool Ran = false;
    // The table lists no row.
    bool NoData = false;
    QList<TAuditFinding> Findings;

    bool Passed() const;
    void Explain(const QString& AText, double AAmount, int ARows = -1);
    // A known cause that shows on paper, summed in the status line under
    // APrinted (empty: named in Line only).
    void ExplainPrinted(const QString& AText, double AAmount, int ARows, const QString& APrinted);
    void Fail(const QString& AText, double AAmount);
    // One line: "审核通过" and the known causes with their amounts, or
    // "审核未通过" and the differences without a cause first.
    QString Line() const;
    // A short form for a status line: "审核通过" (with the differences a
    // clerk finds on paper between totals and the rows under them, summed
    // by kind: "审核通过（合计含未列出的行 -0.20 万元，1 行）"), "无数据", or
    // "审核未通过：" and the first difference without a cause.
    QString Brief() const;
};
