#pragma once

#include <QMap>
#include <QPair>
#include <QString>
#include <QVariant>

class TCellDocument;

// The cells of the first worksheet of a written workbook: texts as QString,
// numbers as double, keyed by (column, row) from 1.
using TWorkbookCells = QMap<QPair<int, int>, QVariant>;

TWorkbookCells ReadWorkbookCells(const QString& AFile);

// The same for a grid: what an export of it should hold (a merge shows its
// top-left cell only).
TWorkbookCells GridCells(const TCellDocument& AGrid);

// The first cell where two sets differ, as "column 2 row 12: 'x' / 'y'";
// empty when they are equal. A number never equals a text; numbers match
// within ATolerance.
QString FirstDifference(const TWorkbookCells& AActual, const TWorkbookCells& AExpected,
                        double ATolerance = 1e-9);
