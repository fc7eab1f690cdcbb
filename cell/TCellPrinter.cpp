#include "TCellPrinter.h"

#include "TCellDrawnText.h"
#include "TCellPdfMend.h"
#include "TCellRenderer.h"
#include "TCellTextDrawer.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>
#include <algorithm>

TCellPrinter::TCellPrinter(const TCellSheet& ASheet)
    : FSheet(ASheet)
    , FPaginator(ASheet)
    , FFitter(ASheet) {}

TCellPrinter::TMetrics TCellPrinter::Measure(const QPagedPaintDevice& ADevice) const {
    TMetrics Result;
    Result.Resolution = std::max(1, ADevice.logicalDpiX());
    const QRect Paint = ADevice.pageLayout().paintRectPixels(Result.Resolution);
    Result.PaintWidth = Paint.width();
    Result.PaintHeight = Paint.height();
    const double Natural = Result.Resolution / 96.0;
    const int SheetWidth = std::max(1, FSheet.TotalWidth());
    Result.Scale = Natural;
    if (FSheet.Page().FitToWidth)
        Result.Scale = std::min(Natural, static_cast<double>(Paint.width()) / SheetWidth);
    Result.OffsetX = std::max(0.0, (Paint.width() - SheetWidth * Result.Scale) / 2);
    // The footer line takes a strip of 8 mm at the foot of the printable area.
    Result.FooterHeight = FSheet.Page().HasFooter() ? Result.Resolution * 8 / 25 : 0;
    const double Body = (Result.PaintHeight - Result.FooterHeight) / Result.Scale;
    Result.BodyHeight = std::max(1, static_cast<int>(Body) - FPaginator.HeadingHeight());
    return Result;
}

int TCellPrinter::PageCount(const QPagedPaintDevice& ADevice) const {
    return static_cast<int>(FPaginator.Paginate(Measure(ADevice).BodyHeight).size());
}

bool TCellPrinter::Render(QPagedPaintDevice& ADevice, TCellDrawnText* ADrawn) {
    const TMetrics Metrics = Measure(ADevice);
    const auto Pages = FPaginator.Paginate(Metrics.BodyHeight);
    QPainter Painter;
    if (!Painter.begin(&ADevice))
        return false;
    TCellTextDrawer Drawer(ADrawn);
    TPen Pen{Painter, Drawer};
    const int Total = static_cast<int>(Pages.size());
    for (int Index = 0; Index < Total; ++Index) {
        if (Index > 0 && !ADevice.newPage())
            return false;
        PaintPage(Pen, Metrics, Pages[Index], Index + 1, Total);
    }
    return Painter.end();
}

void TCellPrinter::PaintPage(TPen& APen, const TMetrics& AMetrics,
                             const TCellPaginator::TPage& APage, int ANumber, int ATotal) const {
    double Y = 0;
    if (APage.Lead)
        Y = PaintBand(APen, AMetrics, 1, FPaginator.LeadLastRow(), Y);
    const TCellPageSetup& Setup = FSheet.Page();
    if (Setup.HasRepeatedRows())
        Y = PaintBand(APen, AMetrics, Setup.RepeatFirstRow, Setup.RepeatLastRow, Y);
    PaintBand(APen, AMetrics, APage.FirstRow, APage.LastRow, Y);
    PaintFooter(APen, AMetrics, ANumber, ATotal);
}

double TCellPrinter::PaintBand(TPen& APen, const TMetrics& AMetrics, int AFirstRow, int ALastRow,
                               double AY) const {
    QPainter& Painter = APen.Painter;
    if (ALastRow < AFirstRow || FSheet.ColCount() == 0)
        return AY;
    const int Top = FSheet.RowTop(AFirstRow);
    const int Height = FSheet.RowTop(ALastRow + 1) - Top;
    Painter.save();
    Painter.translate(AMetrics.OffsetX, AY * AMetrics.Scale);
    Painter.scale(AMetrics.Scale, AMetrics.Scale);
    Painter.translate(0, -Top);
    // A little slack around the band keeps the outer border lines whole.
    Painter.setClipRect(QRectF(-2, Top - 1, FSheet.TotalWidth() + 4, Height + 2));
    TCellRenderer(FSheet, FFitter, APen.Drawer)
        .Paint(Painter, {1, AFirstRow, FSheet.ColCount(), ALastRow});
    Painter.restore();
    return AY + Height;
}

void TCellPrinter::PaintFooter(TPen& APen, const TMetrics& AMetrics, int ANumber,
                               int ATotal) const {
    QPainter& Painter = APen.Painter;
    const TCellPageSetup& Setup = FSheet.Page();
    if (!Setup.HasFooter())
        return;
    QFont Font = FSheet.Font(0);
    Font.setBold(false);
    Font.setPixelSize(std::max(1, AMetrics.Resolution * 9 / 72));
    Painter.save();
    Painter.setFont(Font);
    Painter.setPen(Qt::black);
    const QRect Strip(0, AMetrics.PaintHeight - AMetrics.FooterHeight, AMetrics.PaintWidth,
                      AMetrics.FooterHeight);
    const std::pair<const QString*, Qt::Alignment> Parts[] = {
        {&Setup.FooterLeft, Qt::AlignLeft},
        {&Setup.FooterCentre, Qt::AlignHCenter},
        {&Setup.FooterRight, Qt::AlignRight}};
    for (const auto& [Text, Align] : Parts) {
        if (Text->isEmpty())
            continue;
        QTextOption Option(Align | Qt::AlignBottom);
        Option.setWrapMode(QTextOption::NoWrap);
        APen.Drawer.Draw(Painter, Strip, TCellPageSetup::ExpandPageText(*Text, ANumber, ATotal),
                         Font, Option);
    }
    Painter.restore();
}

// The pages are made in memory first: the PDF writer does not look at what
// its device reports, so only whole bytes in hand can be checked onto the
// disk. They are mended there too.
bool TCellPrinter::RenderPdf(QByteArray& APdf) {
    QBuffer Buffer(&APdf);
    Buffer.open(QIODevice::WriteOnly);
    TCellDrawnText Drawn;
    {
        QPdfWriter Writer(&Buffer);
        Writer.setResolution(600);
        Writer.setTitle(FInfo.Title);
        Writer.setCreator(FInfo.Creator.isEmpty() ? QStringLiteral("varnholt") : FInfo.Creator);
        Writer.setPageLayout(FSheet.Page().Layout());
        if (!Render(Writer, &Drawn))
            return false;
    }
    Buffer.close();
    TCellPdfMend(Drawn, FInfo.Subject).Apply(APdf);
    return true;
}

int TCellPrinter::PrintToPdf(const QString& AFileName, QString& AError,
                             TCellOutputFile::TMode AMode) {
    TCellOutputFile Output(AFileName, AMode);
    if (!Output.Open()) {
        AError = Output.Error();
        return CannotCreate;
    }
    QByteArray Pdf;
    if (!RenderPdf(Pdf)) {
        AError = QStringLiteral("无法生成 PDF：%1").arg(AFileName);
        return RenderFailed;
    }
    if (!Output.Write(Pdf)) {
        AError = Output.Error();
        return WriteFailed;
    }
    switch (Output.Commit()) {
    case TCellOutputFile::Committed:
        return Ok;
    case TCellOutputFile::NameTaken:
        AError = Output.Error();
        return NameTaken;
    case TCellOutputFile::SyncFailed:
    case TCellOutputFile::MoveFailed:
        break;
    }
    AError = Output.Error();
    return WriteFailed;
}
