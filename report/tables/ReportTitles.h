#pragma once

#include <QString>

// The texts above a table.
struct TReportTitles {
    // The basis of the amounts, shown under the title.
    QString Basis;
    QString Summary;
    QString Detail;
};

// The long name of a fund nature by its code; empty text for other codes.
QString FundLongName(const QString& AFundCode);

// The titles for an indicator type (the list's text), a fund nature (its
// code, empty for the summary), the selected unit's name and the year.
TReportTitles BuildTitles(const QString& ABTypeText, const QString& AFundCode,
                          const QString& AUnitName, int AYear);
