#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// What a run's tables are of: every choice that decides their cells, and
// whether the run wrote one node's tables or each unit's under it. Two
// runs with the same selection write the same set of files; a folder holds
// the set of one selection at a time.
struct TRunSelection {
    int Year = 0;
    // Indicator type: 0 控制数, 1 预算数, 2 临时指标.
    int BType = 0;
    // Sub-type of 预算数: 0 当年预算, 1 结余预算, 2 追加预算; -1 for the
    // other types, which have none.
    int SubType = -1;
    QString LoginUnit;
    int LoginClass = 0;
    // The unit tree node: the code prefix its tables cover, and its caption.
    QString NodeCode;
    QString NodeName;
    bool EachUnit = false;

    // Whether the two select the same tables (names of units aside).
    bool SameAs(const TRunSelection& AOther) const;
    QString BTypeText() const;
    // "当年预算", or empty for a type without sub-types.
    QString SubTypeText() const;
    // "2024年预算数（当年预算）".
    QString YearAndType() const;
    // "省教育厅（101002）2024年预算数（当年预算），登录单位 101001（类别 1）",
    // with "，逐个单位写出" for a run over each unit.
    QString Text() const;

    // The selection's lines in a record's head, tab-separated fields after
    // a Chinese key ("年度\t2024").
    QStringList RecordLines() const;
    // Reads the fields RecordLines wrote (by key, the fields after it);
    // false when one is missing or not a number where one belongs.
    bool ReadRecord(const QHash<QString, QStringList>& AFields);
};

// One line of a record's head: the key, then each field in its printable
// form (no field can break the line or the columns), tab-separated.
QString RecordLine(const QString& AKey, const QStringList& AFields);
// Why a unit whose name holds a NUL cannot have tables: the database's
// texts and the file system's names end at it.
QString NulNameProblem(const QString& AUnitCode);
