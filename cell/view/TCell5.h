#pragma once

#include "cell/TCellDocument.h"

#include <QAbstractScrollArea>
#include <functional>
#include <memory>

class QDialog;
class QLineEdit;
class QPrinter;

// The report grid of the report window: shows a grid document (one sheet,
// number 0) with scrolling, prints, previews and exports it as an Excel
// workbook. The cell operations are the document's (see TCellDocument.h);
// the widget forwards them and repaints when it next can.
class TCell5 : public QAbstractScrollArea {
    Q_OBJECT
    Q_PROPERTY(bool WorkbookReadonly READ WorkbookReadonly WRITE SetWorkbookReadonly)
public:
    // Runs a dialog and returns its result; tests put in one that does not
    // wait for a user.
    using TDialogRunner = std::function<int(QDialog&)>;

    explicit TCell5(QWidget* AParent = nullptr);
    ~TCell5() override;

    // The grid becomes the template's content. 0 on success; otherwise the
    // grid is left blank but usable and LastError says why.
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
    // The print preview of the grid (TCellPreviewDialog), run through the
    // dialog runner. TCellPreviewDialog::PrintChosen when the clerk chose
    // 打印 in it: the caller then prints the grid as its 打印 does.
    int PreviewSheet(int ASheet, int AMode);
    // Prints to the default printer without a dialog; to a PDF when a print
    // file was set or no printer exists (LastOutputFile names it).
    int PrintSheet(int ASheet, int AMode);
    // The footer line of every page; &P is the page number, &S the total.
    void SetPageText(const QString& ALeft, const QString& ACentre, const QString& ARight);
    // 0 on success; otherwise LastError says why and no file is left behind.
    int ExportExcel(const QString& AFileName);

    bool WorkbookReadonly() const { return FReadonly; }
    void SetWorkbookReadonly(bool AReadonly);

    // Beyond the control's own operations, for the window, batch use and tests.
    int PrintToPdf(const QString& AFileName);
    void SetPrintFile(const QString& AFileName) { FPrintFile = AFileName; }
    const QString& PrintFile() const { return FPrintFile; }
    // Where PDFs go when there is no printer; the documents folder when
    // empty or gone.
    void SetPdfFolder(const QString& AFolder) { FPdfFolder = AFolder; }
    // A printer for the grid, for a print dialog to set up: the default
    // printer or, without one or with a print file set, a PDF under the
    // print file or a new name in the PDF folder; the sheet's paper and the
    // table's title as the document's name.
    std::unique_ptr<QPrinter> NewPrinter() const;
    // The pages the grid takes on the printer.
    int PageCount(const QPrinter& APrinter) const;
    // Prints the pages and copies the printer was set up for (a PDF file
    // holds the pages once); the footer keeps the whole table's numbers.
    // 0 on success, else LastError says why.
    int PrintOn(QPrinter& APrinter);
    // Prints to a new PDF in AFolder named after the table and the time,
    // never replacing a file.
    int PrintToNewPdf(const QString& AFolder);
    void SetDialogRunner(TDialogRunner ARunner);
    // Shows the grid from its top-left cell with no cell chosen, as a new
    // table starts; a fill into Document() calls it when it is done.
    void ShowTopLeft();
    const QString& LastError() const { return FDocument.LastError(); }
    const QString& LastOutputFile() const { return FDocument.LastOutputFile(); }
    QString CellText(int ACol, int ARow) const { return FDocument.CellText(ACol, ARow); }
    const TCellSheet& Sheet() const { return FDocument.Sheet(); }
    // The document the grid shows; fills write into it directly.
    TCellDocument& Document() { return FDocument; }
    const TCellDocument& Document() const { return FDocument; }

signals:
    // A print job went out whole, from PrintSheet or from the preview's
    // print button: AOutput names the printer or the PDF file.
    void Printed(const QString& AOutput);

protected:
    void paintEvent(QPaintEvent* AEvent) override;
    void resizeEvent(QResizeEvent* AEvent) override;
    void mousePressEvent(QMouseEvent* AEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* AEvent) override;
    void scrollContentsBy(int ADx, int ADy) override;

private:
    static constexpr int Margin = 8;

    void Changed();
    void UpdateScrollBars();
    QPoint SheetPoint(const QPoint& AViewportPoint) const;
    QRect ViewportRect(const QRect& ASheetRect) const;
    void StartEditing(int ACol, int ARow);
    void FinishEditing(bool ACommit);
    int PrintOnce();
    // Without a printer: a new PDF in the PDF folder, never replacing one
    // printed before (a table printed in the same second gets -2, -3...).
    int WriteNewPdf(const QString& AFolder);
    QString PdfFolder() const;
    QString PdfStem(const QString& AFolder) const;
    // The first name of the stem's numbered series that nothing has taken.
    QString FreePdfName() const;
    static QString NumberedPdfName(const QString& AStem, int ANumber);

    TCellDocument FDocument;
    TDialogRunner FDialogRunner;
    QString FPrintFile;
    QString FPdfFolder;
    bool FReadonly = false;
    bool FLayoutPending = false;
    int FCurrentCol = 0;
    int FCurrentRow = 0;
    QLineEdit* FEditor = nullptr; // child widget, owned by the viewport
};
