#include "TCellPreviewView.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

TCellPreviewView::TCellPreviewView(TCellPreviewPages& APages, QWidget* AParent)
    : QAbstractScrollArea(AParent)
    , FPages(APages) {
    setObjectName(QStringLiteral("TCellPreviewView"));
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(40);
    horizontalScrollBar()->setSingleStep(40);
}

QSize TCellPreviewView::PageSizeAt(double AZoom) const {
    const QSizeF Points = FPages.PageSize();
    return QSize(std::max(1, int(std::lround(Points.width() / 72 * 96 * AZoom))),
                 std::max(1, int(std::lround(Points.height() / 72 * 96 * AZoom))));
}

int TCellPreviewView::PageTop(int AIndex) const {
    return Gap + AIndex * (PagePixels().height() + Gap);
}

int TCellPreviewView::CurrentPage() const {
    if (FPages.Count() == 0)
        return 0;
    // The page that holds the line a third down the view.
    const int Line = verticalScrollBar()->value() + viewport()->height() / 3;
    const int Index = (Line - Gap / 2) / (PagePixels().height() + Gap);
    return std::clamp(Index, 0, FPages.Count() - 1);
}

void TCellPreviewView::GoToPage(int AIndex) {
    const int Index = std::clamp(AIndex, 0, std::max(0, FPages.Count() - 1));
    verticalScrollBar()->setValue(PageTop(Index) - Gap);
    NoteCurrentPage();
}

void TCellPreviewView::SetZoom(double AZoom) {
    FFit = FitNone;
    const int Page = CurrentPage();
    FZoom = std::clamp(AZoom, MinZoom, MaxZoom);
    UpdateScrollBars();
    GoToPage(Page);
    viewport()->update();
}

void TCellPreviewView::SetFit(TFit AFit) {
    const int Page = CurrentPage();
    FFit = AFit;
    ApplyFit();
    GoToPage(Page);
    viewport()->update();
}

void TCellPreviewView::ApplyFit() {
    if (FFit != FitNone) {
        const QSize AtOne = PageSizeAt(1);
        const double ByWidth = double(viewport()->width() - 2 * Gap) / AtOne.width();
        const double ByHeight = double(viewport()->height() - 2 * Gap) / AtOne.height();
        const double Fitted = FFit == FitWidth ? ByWidth : std::min(ByWidth, ByHeight);
        FZoom = std::clamp(Fitted, MinZoom, MaxZoom);
    }
    UpdateScrollBars();
}

void TCellPreviewView::UpdateScrollBars() {
    const QSize Page = PagePixels();
    const int Height = Gap + FPages.Count() * (Page.height() + Gap);
    const int Width = Page.width() + 2 * Gap;
    verticalScrollBar()->setRange(0, std::max(0, Height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setRange(0, std::max(0, Width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void TCellPreviewView::resizeEvent(QResizeEvent* AEvent) {
    QAbstractScrollArea::resizeEvent(AEvent);
    const int Page = CurrentPage();
    ApplyFit();
    if (FFit != FitNone)
        GoToPage(Page);
}

void TCellPreviewView::scrollContentsBy(int, int) {
    viewport()->update();
    NoteCurrentPage();
}

void TCellPreviewView::NoteCurrentPage() {
    const int Page = CurrentPage();
    if (Page == FShownPage)
        return;
    FShownPage = Page;
    emit CurrentPageChanged(Page);
}

void TCellPreviewView::keyPressEvent(QKeyEvent* AEvent) {
    if (AEvent->key() == Qt::Key_Home)
        GoToPage(0);
    else if (AEvent->key() == Qt::Key_End)
        GoToPage(FPages.Count() - 1);
    else
        QAbstractScrollArea::keyPressEvent(AEvent);
}

void TCellPreviewView::paintEvent(QPaintEvent* AEvent) {
    QPainter Painter(viewport());
    const QSize Page = PagePixels();
    const int Top = verticalScrollBar()->value();
    // Centred when the page fits across the view, else scrolled sideways.
    const bool Fits = Page.width() + 2 * Gap <= viewport()->width();
    const int Left =
        Fits ? (viewport()->width() - Page.width()) / 2 : Gap - horizontalScrollBar()->value();
    const QRect Exposed = AEvent->rect();
    const int Step = Page.height() + Gap;
    const int First = std::max(0, (Top + Exposed.top() - Gap) / Step);
    const int Last = std::min(FPages.Count() - 1, (Top + Exposed.bottom()) / Step);
    const qreal Ratio = devicePixelRatioF();
    for (int Index = First; Index <= Last; ++Index) {
        const QRect Place(Left, PageTop(Index) - Top, Page.width(), Page.height());
        if (!Place.intersects(Exposed))
            continue;
        Painter.fillRect(Place.translated(3, 3), QColor(0, 0, 0, 60));
        QImage Image = FPages.Page(Index, int(std::lround(Page.width() * Ratio)));
        Image.setDevicePixelRatio(Ratio);
        Painter.drawImage(Place.topLeft(), Image);
        Painter.setPen(QColor(0, 0, 0, 120));
        Painter.drawRect(Place.adjusted(0, 0, -1, -1));
    }
}
