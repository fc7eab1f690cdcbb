#pragma once

#include <QSet>
#include <QString>

// The units pubdept marks as having a special fiscal account ("是", shown
// with "*" before their names), read
// once for a whole table instead of once per unit: a province-wide detail
// table names thousands of units. A unit counts as marked exactly when
// IsSpecialAccount would find it, letter case compared as the database
// compares codes.
class TMarkedUnits {
public:
    // Reads the marked units from the "Def" connection; none when the query
    // cannot be opened.
    TMarkedUnits();

    bool Contains(const QString& AEid) const;

private:
    QString Key(const QString& AEid) const;

    QSet<QString> FUnits;
    bool FCaseBlind = false;
};
