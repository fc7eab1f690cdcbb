#include "TCellPrinter.h"

#include "TCellDrawnText.h"
#include "TCellOutputSet.h"
#include "TCellPdfFile.h"
#include "TCellPdfMend.h"
#include "TCellRenderer.h"
#include "TCellTextDrawer.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>
#include <algorithm>
#include <thread>

namespace {

// Below this many pages a table is made in one piece: each half embeds its
// fonts of its own, which costs more than a short table gains.
constexpr int SplitPages = 24;

// A PDF writer as every PDF of a sheet gets it: 600 dots per inch, the
// sheet's page layout, the document's title and maker.
void SetUp(QPdfWriter& AWriter, const TCellSheet& ASheet, const TCellPdfInfo& AInfo) {
    AWriter.setResolution(600);
    AWriter.setTitle(AInfo.Title);
    AWriter.setCreator(AInfo.Creator.isEmpty() ? QStringLiteral("varnholt") : AInfo.Creator);
    AWriter.setPageLayout(ASheet.Page().Layout());
}

} // namespace

TCellPrinter::TCellPrinter(const TCellSheet& ASheet)
    : FSheet(ASheet)
    , FPaginator(ASheet)
    , FFitter(ASheet)
    , FFonts(ASheet) {}

TCellPrinter::TMetrics TCellPrinter::Measure(const QPagedPaintDevice& ADevice) const {
    return Measure(ADevice.pageLayout(), ADevice.logicalDpiX());
}

TCellPrinter::TMetrics TCellPrinter::Measure(const QPageLayout& ALayout, int AResolution) const {
    TMetrics Result;
    Result.Resolution = std::max(1, AResolution);
    const QRect Paint = ALayout.paintRectPixels(Result.Resolution);
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

int TCellPrinter::PageCount(const QPageLayout& ALayout, int AResolution) const {
    return static_cast<int>(FPaginator.Paginate(Measure(ALayout, AResolution).BodyHeight).size());
}

void TCellPrinter::PaintPage(QPainter& APainter, const QPageLayout& ALayout, int AResolution,
                             int AIndex) {
    const TMetrics Metrics = Measure(ALayout, AResolution);
    const auto Pages = FPaginator.Paginate(Metrics.BodyHeight);
    if (AIndex < 0 || AIndex >= static_cast<int>(Pages.size()))
        return;
    TCellTextDrawer Drawer(nullptr);
    TPen Pen{APainter, Drawer};
    PaintPage(Pen, Metrics, Pages[size_t(AIndex)], AIndex + 1, static_cast<int>(Pages.size()));
}

bool TCellPrinter::Render(QPagedPaintDevice& ADevice, TCellDrawnText* ADrawn) {
    return RenderPages(ADevice, ADrawn, 0, -1);
}

bool TCellPrinter::Render(QPagedPaintDevice& ADevice, int AFirst, int AEnd, int ACopies) {
    return RenderPages(ADevice, nullptr, AFirst, AEnd, ACopies);
}

bool TCellPrinter::RenderPages(QPagedPaintDevice& ADevice, TCellDrawnText* ADrawn, int AFirst,
                               int AEnd, int ACopies) {
    const TMetrics Metrics = Measure(ADevice);
    const auto Pages = FPaginator.Paginate(Metrics.BodyHeight);
    QPainter Painter;
    if (!Painter.begin(&ADevice))
        return false;
    TCellTextDrawer Drawer(ADrawn);
    TPen Pen{Painter, Drawer};
    const int Total = static_cast<int>(Pages.size());
    const int First = std::clamp(AFirst, 0, Total);
    const int End = AEnd < 0 ? Total : std::clamp(AEnd, First, Total);
    bool Started = false;
    for (int Copy = 0; Copy < std::max(1, ACopies); ++Copy) {
        for (int Index = First; Index < End; ++Index) {
            if (Started && !ADevice.newPage())
                return false;
            Started = true;
            PaintPage(Pen, Metrics, Pages[size_t(Index)], Index + 1, Total);
        }
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
    TCellRenderer(FSheet, FFitter, APen.Drawer, &FFonts)
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
    QFont Font = FFonts.Font(0);
    Font.setBold(false);
    Font.setPixelSize(std::max(1, AMetrics.Resolution * 9 / 72));
    Painter.save();
    Painter.setFont(Font);
    Painter.setPen(Qt::black);
    const QRect Strip(0, AMetrics.PaintHeight - AMetrics.FooterHeight, AMetrics.PaintWidth,
                      AMetrics.FooterHeight);
    // The texts at the sides give way to the one in the middle, a fifth of
    // an inch apart from it, and are cut short with an ellipsis.
    const QFontMetricsF Metrics(Font, Painter.device());
    const QString Centre = TCellPageSetup::ExpandPageText(Setup.FooterCentre, ANumber, ATotal);
    const qreal Side = (Strip.width() - Metrics.horizontalAdvance(Centre)) / 2 -
                       (Centre.isEmpty() ? 0 : AMetrics.Resolution / 5);
    const std::pair<QString, Qt::Alignment> Parts[] = {
        {Metrics.elidedText(TCellPageSetup::ExpandPageText(Setup.FooterLeft, ANumber, ATotal),
                            Qt::ElideRight, Side),
         Qt::AlignLeft},
        {Centre, Qt::AlignHCenter},
        {Metrics.elidedText(TCellPageSetup::ExpandPageText(Setup.FooterRight, ANumber, ATotal),
                            Qt::ElideLeft, Side),
         Qt::AlignRight}};
    for (const auto& [Text, Align] : Parts) {
        if (Text.isEmpty())
            continue;
        QTextOption Option(Align | Qt::AlignBottom);
        Option.setWrapMode(QTextOption::NoWrap);
        APen.Drawer.Draw(Painter, Strip, Text, Font, Option);
    }
    Painter.restore();
}

// The pages are made in memory first: the PDF writer does not look at what
// its device reports, so only whole bytes in hand can be checked onto the
// disk. They are read into AFile and mended there.
bool TCellPrinter::RenderRange(TCellPdfFile& AFile, int AFirst, int AEnd, QString& AError) {
    QByteArray Pdf;
    QBuffer Buffer(&Pdf);
    Buffer.open(QIODevice::WriteOnly);
    TCellDrawnText Drawn;
    {
        QPdfWriter Writer(&Buffer);
        SetUp(Writer, FSheet, FInfo);
        if (!RenderPages(Writer, &Drawn, AFirst, AEnd))
            return false;
    }
    Buffer.close();
    return AFile.Read(Pdf, AError) && TCellPdfMend(Drawn, FInfo.Subject).Apply(AFile, AError);
}

int TCellPrinter::PdfPageCount() {
    QBuffer Nowhere;
    Nowhere.open(QIODevice::WriteOnly);
    QPdfWriter Writer(&Nowhere);
    SetUp(Writer, FSheet, FInfo);
    return PageCount(Writer);
}

// A long table is made in two halves at once, the second on a thread of its
// own with a printer of its own (fonts, measures), and the halves joined.
bool TCellPrinter::RenderHalves(TCellPdfFile& AFirst, TCellPdfFile& ASecond, int ATotal,
                                QString& AError) {
    // Row positions are worked out once here, so that both halves only
    // read them.
    FSheet.RowTop(FSheet.RowCount());
    const int Middle = ATotal / 2;
    bool SecondMade = false;
    QString SecondError;
    std::thread Worker([&] {
        TCellPrinter Other(FSheet);
        Other.SetInfo(FInfo);
        SecondMade = Other.RenderRange(ASecond, Middle, ATotal, SecondError);
    });
    const bool FirstMade = RenderRange(AFirst, 0, Middle, AError);
    Worker.join();
    return FirstMade && SecondMade && AFirst.Append(ASecond, AError);
}

// A pair of halves that fails costs time, not the file: the pages are then
// made again in one piece. A page range (SetPageRange) is made in one piece.
bool TCellPrinter::RenderPdf(QByteArray& APdf, QString& AError) {
    const int Count = PdfPageCount();
    const int First = std::clamp(FFirstPage, 0, Count);
    const int End = FEndPage < 0 ? Count : std::clamp(FEndPage, First, Count);
    if (First == 0 && FParallel && End >= SplitPages) {
        // The second half's streams are copied when the first is written.
        TCellPdfFile FirstHalf, SecondHalf;
        if (RenderHalves(FirstHalf, SecondHalf, End, AError) && FirstHalf.Write(APdf, AError))
            return true;
    }
    TCellPdfFile Whole;
    AError.clear();
    return RenderRange(Whole, First, End, AError) && Whole.Write(APdf, AError);
}

bool TCellPrinter::MakePdf(QByteArray& APdf, QString* AError) {
    QString Error;
    const bool Made = RenderPdf(APdf, Error);
    if (AError)
        *AError = Error;
    return Made;
}

int TCellPrinter::PrintToPdf(const QString& AFileName, QString& AError,
                             TCellOutputFile::TMode AMode) {
    {
        // A target that cannot be written is told before the pages are made.
        TCellOutputFile Probe(AFileName, AMode);
        if (!Probe.Open()) {
            AError = Probe.Error();
            return CannotCreate;
        }
    }
    QByteArray Pdf;
    QString Cause;
    if (!RenderPdf(Pdf, Cause)) {
        AError = QStringLiteral("%1：%2").arg(
            Cause.isEmpty() ? QStringLiteral("无法生成 PDF") : Cause, AFileName);
        return RenderFailed;
    }
    return SavePdf(Pdf, AFileName, AError, AMode, FOutputSet);
}

int TCellPrinter::SavePdf(const QByteArray& APdf, const QString& AFileName, QString& AError,
                          TCellOutputFile::TMode AMode, TCellOutputSet* ASet) {
    auto Output = std::make_unique<TCellOutputFile>(AFileName, AMode);
    if (!Output->Open()) {
        AError = Output->Error();
        return CannotCreate;
    }
    if (!Output->Write(APdf)) {
        AError = Output->Error();
        return WriteFailed;
    }
    switch (ASet ? ASet->Hold(Output) : Output->Commit()) {
    case TCellOutputFile::Committed:
        return Ok;
    case TCellOutputFile::NameTaken:
        AError = Output->Error();
        return NameTaken;
    case TCellOutputFile::SyncFailed:
    case TCellOutputFile::MoveFailed:
        break;
    }
    AError = Output->Error();
    return WriteFailed;
}
