#include "ReportIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <functional>

namespace {

const QColor Outline(0x3A, 0x3A, 0x3A);
const QColor Paper(Qt::white);
const QColor Steel(0x6B, 0x7B, 0x8C);
const QColor Blue(0x2F, 0x5D, 0x8A);
const QColor Green(0x1D, 0x6F, 0x42);
const QColor Wood(0xC8, 0x95, 0x5C);

// Drawn on a 32-pixel square; Qt scales it to the size asked for.
QIcon Drawn(const std::function<void(QPainter&)>& ADraw) {
    QPixmap Image(32, 32);
    Image.fill(Qt::transparent);
    QPainter Painter(&Image);
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setPen(QPen(Outline, 1.5));
    ADraw(Painter);
    return QIcon(Image);
}

void Lines(QPainter& P, qreal ALeft, qreal ARight, qreal ATop, qreal AStep, int ACount) {
    for (int I = 0; I < ACount; ++I)
        P.drawLine(QPointF(ALeft, ATop + I * AStep), QPointF(ARight, ATop + I * AStep));
}

void Page(QPainter& P, const QRectF& ARect) {
    const qreal Fold = 6;
    QPainterPath Path;
    Path.moveTo(ARect.topLeft());
    Path.lineTo(ARect.right() - Fold, ARect.top());
    Path.lineTo(ARect.right(), ARect.top() + Fold);
    Path.lineTo(ARect.bottomRight());
    Path.lineTo(ARect.bottomLeft());
    Path.closeSubpath();
    P.setBrush(Paper);
    P.drawPath(Path);
    P.drawLine(QPointF(ARect.right() - Fold, ARect.top()),
               QPointF(ARect.right() - Fold, ARect.top() + Fold));
    P.drawLine(QPointF(ARect.right() - Fold, ARect.top() + Fold),
               QPointF(ARect.right(), ARect.top() + Fold));
}

void Printer(QPainter& P) {
    P.setBrush(Paper);
    P.drawRect(QRectF(9, 3, 14, 10));
    P.setBrush(Steel);
    P.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
    P.setBrush(Paper);
    P.drawRect(QRectF(9, 19, 14, 10));
    P.save();
    P.setPen(QPen(Steel, 1));
    Lines(P, 11.5, 20.5, 22.5, 2.5, 3);
    P.restore();
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(0x4C, 0xC2, 0x4C));
    P.drawEllipse(QPointF(25, 15), 1.5, 1.5);
}

void Exit(QPainter& P) {
    P.setBrush(Wood);
    P.drawRect(QRectF(5, 3, 15, 26));
    P.setBrush(Outline);
    P.drawEllipse(QPointF(16.5, 16), 1.2, 1.2);
    P.setPen(QPen(Green, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    P.drawLine(QPointF(15, 16), QPointF(27, 16));
    P.drawPolyline(QPolygonF({QPointF(22.5, 11), QPointF(28, 16), QPointF(22.5, 21)}));
}

void Preview(QPainter& P) {
    Page(P, QRectF(4, 2, 19, 26));
    P.save();
    P.setPen(QPen(Steel, 1));
    Lines(P, 7.5, 16.5, 8.5, 3, 4);
    P.restore();
    P.setPen(QPen(Blue, 3, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(QPointF(24.5, 23.5), QPointF(29.5, 28.5));
    P.setPen(QPen(Blue, 2.5));
    P.setBrush(QColor(0xD6, 0xE8, 0xF7, 0xE0));
    P.drawEllipse(QPointF(20, 19), 6, 6);
}

void PrintSetup(QPainter& P) {
    Printer(P);
    P.setPen(QPen(Blue, 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int I = 0; I < 8; ++I) {
        const qreal Angle = I * 3.14159265 / 4;
        P.drawLine(QPointF(24 + 4 * std::cos(Angle), 24 + 4 * std::sin(Angle)),
                   QPointF(24 + 7 * std::cos(Angle), 24 + 7 * std::sin(Angle)));
    }
    P.setBrush(Paper);
    P.drawEllipse(QPointF(24, 24), 4, 4);
}

void Grid(QPainter& P, const QColor& AHead) {
    P.setBrush(Paper);
    P.drawRect(QRectF(3, 4, 26, 24));
    P.setPen(Qt::NoPen);
    P.setBrush(AHead);
    P.drawRect(QRectF(3.75, 4.75, 24.5, 5));
    P.setPen(QPen(Steel, 1));
    Lines(P, 4, 28, 15, 5, 3);
    P.drawLine(QPointF(12, 10), QPointF(12, 28));
    P.drawLine(QPointF(20, 10), QPointF(20, 28));
}

void Workbook(QPainter& P) {
    Grid(P, QColor(0x8F, 0xC9, 0xA3));
    P.setPen(QPen(Outline, 1.5));
    P.setBrush(Green);
    P.drawRoundedRect(QRectF(1.5, 13, 15, 16), 2, 2);
    P.setPen(QPen(Paper, 2.5, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(QPointF(5.5, 17), QPointF(12.5, 25));
    P.drawLine(QPointF(12.5, 17), QPointF(5.5, 25));
}

QIcon CheckBox(int AState) {
    return Drawn([AState](QPainter& P) {
        P.setBrush(Paper);
        P.drawRect(QRectF(8, 8, 16, 16));
        if (AState == 2) {
            P.setPen(QPen(Blue, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            P.drawPolyline(QPolygonF({QPointF(11, 16), QPointF(15, 20), QPointF(21, 12)}));
        } else if (AState == 3) {
            P.setPen(Qt::NoPen);
            P.setBrush(QColor(0x9A, 0xA5, 0xB1));
            P.drawRect(QRectF(12, 12, 8, 8));
        }
    });
}

} // namespace

QList<QIcon> ReportToolImages() {
    return {Drawn(Exit),
            Drawn(Printer),
            Drawn(Preview),
            Drawn(PrintSetup),
            Drawn([](QPainter& P) { Grid(P, QColor(0xB9, 0xCC, 0xE0)); }),
            Drawn(Workbook)};
}

QList<QIcon> CheckStateImages() {
    return {QIcon(), CheckBox(1), CheckBox(2), CheckBox(3)};
}
