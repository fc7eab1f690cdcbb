#include "TFocusMark.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace {
constexpr int LineWidth = 2;
}

TFocusMark::TFocusMark(QWidget* AWindow)
    : QWidget(AWindow) {
    setObjectName(QStringLiteral("focusMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* ANow) { FocusChanged(ANow); });
}

void TFocusMark::Mark(QWidget* AControl) {
    FMarked << AControl;
}

QWidget* TFocusMark::MarkedOwner(QWidget* AWidget) const {
    for (const QPointer<QWidget>& Control : FMarked) {
        if (Control && AWidget && (AWidget == Control || Control->isAncestorOf(AWidget)))
            return Control;
    }
    return nullptr;
}

void TFocusMark::FocusChanged(QWidget* ANow) {
    QWidget* Target = MarkedOwner(ANow);
    if (Target != FTarget) {
        // The control moves with its panels: it and the panels around it
        // are watched while it has the mark.
        for (QWidget* W = FTarget; W && W != parentWidget(); W = W->parentWidget())
            W->removeEventFilter(this);
        for (QWidget* W = Target; W && W != parentWidget(); W = W->parentWidget())
            W->installEventFilter(this);
        FTarget = Target;
    }
    Follow();
}

void TFocusMark::Follow() {
    if (!FTarget || !FTarget->isVisible()) {
        hide();
        return;
    }
    const QPoint TopLeft = FTarget->mapTo(parentWidget(), QPoint(0, 0));
    setGeometry(QRect(TopLeft, FTarget->size()));
    show();
    raise();
    update();
}

bool TFocusMark::eventFilter(QObject* AWatched, QEvent* AEvent) {
    Q_UNUSED(AWatched);
    const QEvent::Type Type = AEvent->type();
    if (Type == QEvent::Move || Type == QEvent::Resize || Type == QEvent::Hide ||
        Type == QEvent::Show)
        Follow();
    return QWidget::eventFilter(AWatched, AEvent);
}

void TFocusMark::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    QPen Pen(palette().color(QPalette::Active, QPalette::Highlight), LineWidth);
    Pen.setJoinStyle(Qt::MiterJoin);
    Painter.setPen(Pen);
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(QRectF(rect()).adjusted(LineWidth / 2.0, LineWidth / 2.0, -LineWidth / 2.0,
                                             -LineWidth / 2.0));
}
