// The on-screen side of the grid: scrolling, painting and in-place editing.
#include "TCell5.h"

#include "cell/TCellRenderer.h"
#include "cell/TCellTextDrawer.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

void TCell5::UpdateScrollBars() {
    const QSize Area = viewport()->size();
    const int Width = FDocument.Sheet().TotalWidth() + 2 * Margin;
    const int Height = FDocument.Sheet().TotalHeight() + 2 * Margin;
    horizontalScrollBar()->setRange(0, std::max(0, Width - Area.width()));
    horizontalScrollBar()->setPageStep(Area.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, Height - Area.height()));
    verticalScrollBar()->setPageStep(Area.height());
    verticalScrollBar()->setSingleStep(FDocument.Sheet().DefaultRowHeight());
}

void TCell5::resizeEvent(QResizeEvent* AEvent) {
    QAbstractScrollArea::resizeEvent(AEvent);
    UpdateScrollBars();
}

void TCell5::scrollContentsBy(int ADx, int ADy) {
    Q_UNUSED(ADx);
    Q_UNUSED(ADy);
    if (FEditor != nullptr && FCurrentCol > 0)
        FEditor->setGeometry(ViewportRect(FDocument.Sheet().CellRect(FCurrentCol, FCurrentRow)));
    viewport()->update();
}

QPoint TCell5::SheetPoint(const QPoint& AViewportPoint) const {
    return AViewportPoint +
           QPoint(horizontalScrollBar()->value() - Margin, verticalScrollBar()->value() - Margin);
}

QRect TCell5::ViewportRect(const QRect& ASheetRect) const {
    return ASheetRect.translated(Margin - horizontalScrollBar()->value(),
                                 Margin - verticalScrollBar()->value());
}

void TCell5::paintEvent(QPaintEvent* AEvent) {
    Q_UNUSED(AEvent);
    if (FLayoutPending)
        UpdateScrollBars();
    QPainter Painter(viewport());
    Painter.fillRect(viewport()->rect(), Qt::white);
    if (FDocument.Sheet().ColCount() == 0 || FDocument.Sheet().RowCount() <= 1)
        return;
    const QPoint TopLeft = SheetPoint(QPoint(0, 0));
    const QPoint BottomRight = SheetPoint(QPoint(viewport()->width(), viewport()->height()));
    // Only the rows and columns in view are painted, however long the table.
    const TCellRange Visible{FDocument.Sheet().ColAt(std::max(0, TopLeft.x())),
                             FDocument.Sheet().RowAt(std::max(0, TopLeft.y())),
                             FDocument.Sheet().ColAt(BottomRight.x()),
                             FDocument.Sheet().RowAt(BottomRight.y())};
    Painter.translate(-TopLeft.x(), -TopLeft.y());
    TCellTextDrawer Drawer;
    TCellRenderer Renderer(FDocument.Sheet(), FDocument.Fitter(), Drawer);
    Renderer.SetGridlines(true);
    Renderer.Paint(Painter, Visible);
    if (FCurrentCol > 0 && FCurrentRow > 0 &&
        FDocument.Sheet().Cell(FCurrentCol, FCurrentRow) != nullptr) {
        Painter.setPen(QPen(QColor(0x1F, 0x6F, 0xC5), 2));
        Painter.setBrush(Qt::NoBrush);
        Painter.drawRect(
            FDocument.Sheet().CellRect(FCurrentCol, FCurrentRow).adjusted(1, 1, -1, -1));
    }
}

void TCell5::mousePressEvent(QMouseEvent* AEvent) {
    const QPoint Point = SheetPoint(AEvent->position().toPoint());
    FinishEditing(true);
    if (Point.x() >= 0 && Point.y() >= 0 && Point.x() < FDocument.Sheet().TotalWidth() &&
        Point.y() < FDocument.Sheet().TotalHeight()) {
        FCurrentCol = FDocument.Sheet().ColAt(Point.x());
        FCurrentRow = FDocument.Sheet().RowAt(Point.y());
        if (const TCellRange* Merge = FDocument.Sheet().MergeAt(FCurrentCol, FCurrentRow)) {
            FCurrentCol = Merge->FirstCol;
            FCurrentRow = Merge->FirstRow;
        }
    }
    viewport()->update();
    QAbstractScrollArea::mousePressEvent(AEvent);
}

void TCell5::mouseDoubleClickEvent(QMouseEvent* AEvent) {
    if (!FReadonly && FCurrentCol > 0 && FCurrentRow > 0)
        StartEditing(FCurrentCol, FCurrentRow);
    QAbstractScrollArea::mouseDoubleClickEvent(AEvent);
}

void TCell5::StartEditing(int ACol, int ARow) {
    if (FReadonly || FDocument.Sheet().Cell(ACol, ARow) == nullptr)
        return;
    if (FEditor == nullptr) {
        FEditor = new QLineEdit(viewport());
        connect(FEditor, &QLineEdit::returnPressed, this, [this] { FinishEditing(true); });
    }
    FEditor->setFont(FDocument.Sheet().CellFont(*FDocument.Sheet().Cell(ACol, ARow)));
    FEditor->setText(CellText(ACol, ARow));
    FEditor->setGeometry(ViewportRect(FDocument.Sheet().CellRect(ACol, ARow)));
    FEditor->show();
    FEditor->setFocus();
    FEditor->selectAll();
}

void TCell5::FinishEditing(bool ACommit) {
    if (FEditor == nullptr || !FEditor->isVisible())
        return;
    FEditor->hide();
    if (ACommit && !FReadonly)
        PutText(FCurrentCol, FCurrentRow, 0, FEditor->text());
    setFocus();
}
