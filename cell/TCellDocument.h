#pragma once

#include "TCellOutputFile.h"
#include "TCellPdfInfo.h"
#include "TCellRowFitter.h"
#include "TCellSheet.h"

#include <QString>
#include <functional>

// A report grid without a widget: the sheet and every operation the report
// layouts call, with the control's argument order (column, row, sheet).
// TCell5 shows one; the hidden export grid and the batch tool fill one that
// is never shown. Columns and rows count from 1; GetRowCount counts row 0 as
// well, so the last row is GetRowCount - 1. Calls for any other sheet than 0
// do nothing.
class TCellDocument {
public:
    TCellDocument();
    ~TCellDocument();
    TCellDocument(const TCellDocument&) = delete;
    TCellDocument& operator=(const TCellDocument&) = delete;

    // The document becomes the template's content. 0 on success; otherwise
    // it is left blank but usable and LastError says why.
    int LoadTemplate(const QString& AFileName, const QString& AReserved);
    int GetRowCount(int ASheet) const;
    void SetRowCount(int ACount, int ASheet);
    void PutText(int ACol, int ARow, int ASheet, const QString& AText);
    void PutNumber(int ACol, int ARow, int ASheet, double ANumber);
    void PutAlign(int ACol, int ARow, int ASheet, int AAlign);
    void PutStyle(int ACol, int ARow, int ASheet, int AStyle);
    void PutBorder(int ACol, int ARow, int ASheet, int AEdge, int ALine);
    void JoinCells(int AFirstCol, int AFirstRow, int ALastCol, int ALastRow);
    // The height row ARow needs for its texts wrapped in their cells' widths.
    int FitRowHeight(int ARow);
    // Gives ARowCount rows from ARow on the height AHeight.
    void PutRowHeight(int ARowCount, int AHeight, int ARow, int ASheet);
    // Closes a table: rows 1 to AHeadingRows repeat at the top of every
    // printed page, and every body cell that has no border of its own gets
    // all four edges in line ALine.
    void FinishTable(int AHeadingRows, int ALine, int ASheet);
    // The closing rows of a table: fitted to their texts and printed on one
    // page together with the row before them.
    void MarkLastRows(int AFirstRow, int ALastRow);
    // The footer line of every page; &P is the page number, &S the total.
    void SetPageText(const QString& ALeft, const QString& ACentre, const QString& ARight);

    // The properties of the PDFs printed from now on; loading a template
    // clears them. Without a title, the text of cell (1,1) is the title.
    void SetPdfInfo(const TCellPdfInfo& AInfo) { FPdfInfo = AInfo; }
    // Whether a long table's PDF may be made on two cores (TCellPrinter).
    void SetParallelPdf(bool AParallel) { FParallelPdf = AParallel; }
    TCellPdfInfo PdfInfo() const;

    // 0 on success; otherwise LastError says why and no file is left behind
    // (TCellXlsxWriter::TResult, TCellPrinter::TResult). With KeepExisting a
    // PDF never replaces a file: TCellPrinter::NameTaken instead. A PDF
    // holds pages AFirst to AEnd - 1 (counted from 0; AEnd -1: to the last).
    int ExportExcel(const QString& AFileName);
    int PrintToPdf(const QString& AFileName,
                   TCellOutputFile::TMode AMode = TCellOutputFile::Replace, int AFirst = 0,
                   int AEnd = -1);

    const QString& LastError() const { return FLastError; }
    const QString& LastOutputFile() const { return FLastOutput; }
    void SetOutcome(const QString& AError, const QString& AOutput);
    // What the cell shows: its text, or its number as #,##0.00.
    QString CellText(int ACol, int ARow) const;
    const TCellSheet& Sheet() const { return FSheet; }
    TCellSheet& Sheet() { return FSheet; }
    TCellRowFitter& Fitter() { return FFitter; }

    // Called after every change, so a view can catch up when it next can.
    std::function<void()> OnChanged;
    void Changed();

private:
    TCell* Target(int ACol, int ARow, int ASheet);

    TCellSheet FSheet;
    TCellRowFitter FFitter;
    QString FLastError;
    QString FLastOutput;
    TCellPdfInfo FPdfInfo;
    bool FParallelPdf = true;
};
