#pragma once

#include <QString>

class TCellSheet;

// The cells of ASheet written into AFile by libxlsxwriter alone, as the
// workbook export writes them (column widths, row heights, a format per
// kind of cell, rows in order straight to disk; the heading's few merges
// left out) but with every text turned into UTF-8 and every format chosen
// beforehand: the library's own time for the same workbook. Returns the
// seconds of the writing only.
double WriteCellsAlone(const TCellSheet& ASheet, const QString& AFile);
// The seconds AFile takes to reach the disk (fsync), as every output file
// of the program is synced before it takes its name.
double SyncFile(const QString& AFile);
