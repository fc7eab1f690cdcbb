#pragma once

#include "platform/data/TSqlDialect.h"

#include <QSet>
#include <QString>
#include <QStringList>

// The units pubdept marks as having a special fiscal account ("是", shown
// with "*" before their names), read
// once for a whole table instead of once per unit: a province-wide detail
// table names thousands of units. A unit counts as marked exactly when
// IsSpecialAccount would find it, letter case and trailing blanks compared
// as the database compares codes.
class TMarkedUnits {
public:
    // Reads the marked units from the "Def" connection; none when the query
    // cannot be opened.
    TMarkedUnits();
    // The given codes, matched as a database of that kind matches them.
    TMarkedUnits(const QStringList& ACodes, TSqlKind AKind);

    bool Contains(const QString& AEid) const;

    // The query that reads the marked units.
    static QString Sql();

private:
    explicit TMarkedUnits(TSqlKind AKind);
    QString Key(const QString& AEid) const;

    QSet<QString> FUnits;
    bool FCaseBlind = false;
    bool FBlankBlind = false;
};
