#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class TADOQuery;

// Reads the fields of a query's current row by name, with every name looked
// up once: tables run to hundreds of thousands of rows.
class TQueryColumns {
public:
    // Raises EDatabaseError when the query has no field of one of the names.
    TQueryColumns(const TADOQuery& AQuery, const QStringList& ANames);

    // The field's text; NULL reads as empty text.
    QString Text(int AColumn) const;
    // The field's number; NULL reads as 0.
    double Amount(int AColumn) const;

private:
    const TADOQuery& FQuery;
    std::vector<int> FIndexes;
};
