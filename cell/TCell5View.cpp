// The on-screen side of the grid: scrolling, painting and in-place editing.
#include "TCell5.h"

#include "TCellRenderer.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

void TCell5::UpdateScrollBars() {
    const QSize Area = viewport()->size();
    const int Width = FSheet.TotalWidth() + 2 * Margin;
    const int Height = FSheet.TotalHeight() + 2 * Margin;
    horizontalScrollBar()->setRange(0, std::max(0, Width - Area.width()));
    horizontalScrollBar()->setPageStep(Area.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, Height - Area.height()));
    verticalScrollBar()->setPageStep(Area.height());
    verticalScrollBar()->setSingleStep(FSheet.DefaultRowHeight());
}

void TCell5::resizeEvent(QResizeEvent* AEvent) {
    QAbstractScrollArea::resizeEvent(AEvent);
    UpdateScrollBars();
}

void TCell5::scrollContentsBy(int ADx, int ADy) {
    Q_UNUSED(ADx);
    Q_UNUSED(ADy);
    if (FEditor != nullptr && FCurrentCol > 0)
        FEditor->setGeometry(ViewportRect(FSheet.CellRect(FCurrentCol, FCurrentRow)));
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
    if (FSheet.ColCount() == 0 || FSheet.RowCount() <= 1)
        return;
    const QPoint TopLeft = SheetPoint(QPoint(0, 0));
    const QPoint BottomRight = SheetPoint(QPoint(viewport()->width(), viewport()->height()));
    // Only the rows and columns in view are painted, however long the table.
    const TCellRange Visible{FSheet.ColAt(std::max(0, TopLeft.x())),
                             FSheet.RowAt(std::max(0, TopLeft.y())), FSheet.ColAt(BottomRight.x()),
                             FSheet.RowAt(BottomRight.y())};
    Painter.translate(-TopLeft.x(), -TopLeft.y());
    TCellRenderer Renderer(FSheet, FFitter);
    Renderer.SetGridlines(true);
    Renderer.Paint(Painter, Visible);
    if (FCurrentCol > 0 && FCurrentRow > 0 && FSheet.Cell(FCurrentCol, FCurrentRow) != nullptr) {
        Painter.setPen(QPen(QColor(0x1F, 0x6F, 0xC5), 2));
        Painter.setBrush(Qt::NoBrush);
        Painter.drawRect(FSheet.CellRect(FCurrentCol, FCurrentRow).adjusted(1, 1, -1, -1));
    }
}

void TCell5::mousePressEvent(QMouseEvent* AEvent) {
    const QPoint Point = SheetPoint(AEvent->position().toPoint());
    FinishEditing(true);
    if (Point.x() >= 0 && Point.y() >= 0 && Point.x() < FSheet.TotalWidth() &&
        Point.y() < FSheet.TotalHeight()) {
        FCurrentCol = FSheet.ColAt(Point.x());
        FCurrentRow = FSheet.RowAt(Point.y());
        if (const TCellRange* Merge = FSheet.MergeAt(FCurrentCol, FCurrentRow)) {
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
    if (FReadonly || FSheet.Cell(ACol, ARow) == nullptr)
        return;
    if (FEditor == nullptr) {
        FEditor = new QLineEdit(viewport());
        connect(FEditor, &QLineEdit::returnPressed, this, [this] { FinishEditing(true); });
    }
    FEditor->setFont(FSheet.CellFont(*FSheet.Cell(ACol, ARow)));
    FEditor->setText(CellText(ACol, ARow));
    FEditor->setGeometry(ViewportRect(FSheet.CellRect(ACol, ARow)));
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
