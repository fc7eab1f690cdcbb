#pragma once

#include "TCellSheet.h"

#include <QString>
#include <cstdint>
#include <map>

class TCellOutputSet;
struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// Writes a sheet as an Excel workbook with one worksheet: texts as texts,
// numbers as numbers formatted #,##0.00, merges, borders, alignment, shades,
// column widths, row heights and the print set-up. The workbook is written
// beside the target under a temporary name and moved into place only when it
// is complete (TCellOutputFile), so a failure never leaves a half-written
// file under the name.
class TCellXlsxWriter {
public:
    enum TResult : int { Ok = 0, CannotCreate = 1, Rejected = 2, WriteFailed = 3, CannotMove = 4 };

    // Rows of one worksheet, the table's rows below row 0.
    static constexpr int WorksheetRows = 1048576;

    // ARowLimit is the most table rows a workbook takes: a worksheet's,
    // or fewer (tests reach a limit that way without a million rows).
    explicit TCellXlsxWriter(const TCellSheet& ASheet, int ARowLimit = WorksheetRows);

    // Rejected, with Error(), for a table with more rows than the limit
    // or a number that is not finite; nothing is written then. A table of
    // exactly the limit's rows is written.
    TResult Write(const QString& AFileName);
    const QString& Error() const { return FError; }
    // With a set, a written workbook is held there instead of being moved
    // onto its name (it appears with the set's other files).
    void SetOutputSet(TCellOutputSet* ASet) { FOutputSet = ASet; }

    // The footer in the workbook's own codes (&P page, &N total).
    static QString FooterCodes(const TCellPageSetup& ASetup);

private:
    bool WriteSheet(lxw_workbook* ABook);
    void WriteLayout(lxw_worksheet* ASheet);
    void WritePrintSetup(lxw_worksheet* ASheet);
    bool WriteRows(lxw_worksheet* ASheet);
    bool WriteMerge(lxw_worksheet* ASheet, const TCellRange& AMerge);
    bool WriteCell(lxw_worksheet* ASheet, int ACol, int ARow, const TCell& ACell);
    lxw_format* Format(const TCell& ACell, const TCellRange* AMerge);
    bool Check(int AError, int ACol, int ARow);
    bool NotFinite(int ACol, int ARow);

    const TCellSheet& FSheet;
    const int FRowLimit;
    lxw_workbook* FBook = nullptr;
    std::map<std::uint64_t, lxw_format*> FFormats;
    QString FError;
    TCellOutputSet* FOutputSet = nullptr;
};
