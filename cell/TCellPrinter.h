#pragma once

#include "TCellFonts.h"
#include "TCellOutputFile.h"
#include "TCellPaginator.h"
#include "TCellPdfInfo.h"
#include "TCellRowFitter.h"
#include "TCellSheet.h"

#include <QString>

class QPagedPaintDevice;
class TCellOutputSet;
class TCellPdfFile;
class QPainter;
class TCellDrawnText;
class TCellTextDrawer;

// Puts a sheet onto pages of a printer, a PDF writer or a print preview:
// columns scaled down to the page width when the sheet asks for it, the
// heading rows on every page, whole rows only, and the footer line with the
// page number and page total on every page. A PDF is written with the
// document properties given, and its text layer names the characters the
// pages show (see TCellPdfMend); one that cannot be mended is not written.
class TCellPrinter {
public:
    // Results of PrintToPdf. NameTaken only when an existing file is kept.
    enum TResult : int {
        Ok = 0,
        CannotCreate = 1,
        RenderFailed = 2,
        WriteFailed = 3,
        NameTaken = 4
    };

    explicit TCellPrinter(const TCellSheet& ASheet);

    void SetInfo(const TCellPdfInfo& AInfo) { FInfo = AInfo; }
    // Whether a long table's PDF may be made in two halves on two cores
    // (the default); the file is the same either way.
    void SetParallel(bool AParallel) { FParallel = AParallel; }
    // With a set, PrintToPdf holds the PDF there instead of moving it onto
    // its name (it appears with the set's other files).
    void SetOutputSet(TCellOutputSet* ASet) { FOutputSet = ASet; }
    // Paints every page onto the device with its current page layout; false
    // when the device could not be painted on. ADrawn, when given, notes
    // what a PDF's text layer needs to know of the texts drawn.
    bool Render(QPagedPaintDevice& ADevice, TCellDrawnText* ADrawn = nullptr);
    // Pages AFirst to AEnd - 1 (AEnd -1: to the last), ACopies times over;
    // the page numbers in the footer stay those of the whole table.
    bool Render(QPagedPaintDevice& ADevice, int AFirst, int AEnd, int ACopies);
    // The number of pages the device's page layout gives.
    int PageCount(const QPagedPaintDevice& ADevice) const;
    // The pages of a page layout at AResolution dots per inch, counted and
    // painted one at a time: APainter's origin is the top left of the
    // layout's printable area, one unit one dot. The preview draws a page
    // only when it is looked at.
    int PageCount(const QPageLayout& ALayout, int AResolution) const;
    void PaintPage(QPainter& APainter, const QPageLayout& ALayout, int AResolution, int AIndex);
    // The pages of the PDF as PrintToPdf makes it.
    int PdfPageCount();
    // Limits PrintToPdf to pages AFirst to AEnd - 1 (AEnd -1: to the last).
    void SetPageRange(int AFirst, int AEnd) {
        FFirstPage = AFirst;
        FEndPage = AEnd;
    }
    // Writes a PDF; the file appears whole or not at all (see
    // TCellOutputFile for the targets refused). Ok, or a TResult and AError.
    int PrintToPdf(const QString& AFileName, QString& AError,
                   TCellOutputFile::TMode AMode = TCellOutputFile::Replace);
    // The two halves of PrintToPdf: the PDF made in memory (false when it
    // could not be made, with AError when it could not be mended), and
    // such a PDF saved whole or not at all.
    bool MakePdf(QByteArray& APdf, QString* AError = nullptr);
    static int SavePdf(const QByteArray& APdf, const QString& AFileName, QString& AError,
                       TCellOutputFile::TMode AMode = TCellOutputFile::Replace,
                       TCellOutputSet* ASet = nullptr);

private:
    struct TMetrics {
        double Scale = 1;
        double OffsetX = 0;
        int PaintWidth = 0;
        int PaintHeight = 0;
        int FooterHeight = 0;
        int BodyHeight = 0; // sheet pixels available below the heading
        int Resolution = 96;
    };

    TMetrics Measure(const QPagedPaintDevice& ADevice) const;
    TMetrics Measure(const QPageLayout& ALayout, int AResolution) const;
    struct TPen {
        QPainter& Painter;
        TCellTextDrawer& Drawer;
    };

    bool RenderPdf(QByteArray& APdf, QString& AError);
    bool RenderHalves(TCellPdfFile& AFirst, TCellPdfFile& ASecond, int ATotal, QString& AError);
    bool RenderRange(TCellPdfFile& AFile, int AFirst, int AEnd, QString& AError);
    bool RenderPages(QPagedPaintDevice& ADevice, TCellDrawnText* ADrawn, int AFirst, int AEnd,
                     int ACopies = 1);
    void PaintPage(TPen& APen, const TMetrics& AMetrics, const TCellPaginator::TPage& APage,
                   int ANumber, int ATotal) const;
    double PaintBand(TPen& APen, const TMetrics& AMetrics, int AFirstRow, int ALastRow,
                     double AY) const;
    void PaintFooter(TPen& APen, const TMetrics& AMetrics, int ANumber, int ATotal) const;

    const TCellSheet& FSheet;
    TCellPaginator FPaginator;
    mutable TCellRowFitter FFitter; // a measuring cache, not state
    TCellFonts FFonts;
    bool FParallel = true;
    TCellOutputSet* FOutputSet = nullptr;
    TCellPdfInfo FInfo;
    int FFirstPage = 0;
    int FEndPage = -1;
};
