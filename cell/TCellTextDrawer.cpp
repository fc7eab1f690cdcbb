#include "TCellTextDrawer.h"

#include "TCellDrawnText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

TCellTextDrawer::TCellTextDrawer(TCellDrawnText* ADrawn)
    : FDrawn(ADrawn) {}

TCellTextDrawer::~TCellTextDrawer() = default;

TCellTextFaces& TCellTextDrawer::Faces(const QFont& AFont) {
    if (FLast != nullptr && FLast->Font() == AFont)
        return *FLast;
    for (const auto& Faces : FFaces)
        if (Faces->Font() == AFont)
            return *(FLast = Faces.get());
    FFaces.push_back(std::make_unique<TCellTextFaces>(AFont));
    return *(FLast = FFaces.back().get());
}

TCellTextDrawer::TGathering::TGathering(TCellTextDrawer& ADrawer, QPainter& APainter)
    : FDrawer(ADrawer)
    , FPainter(APainter) {
    FDrawer.FLaid.SetGather(&FDrawer.FGather);
}

TCellTextDrawer::TGathering::~TGathering() {
    FDrawer.Flush(FPainter);
    FDrawer.FLaid.SetGather(nullptr);
}

void TCellTextDrawer::Flush(QPainter& APainter) {
    FGather.Flush(APainter);
}

// Notes the shared characters; true when some go to the twin face.
bool TCellTextDrawer::Scan(const QString& AText, TCellTextFaces& AFaces) {
    const TCellGlyphShare& Main = AFaces.Main();
    bool Twins = false;
    for (const QChar Char : AText) {
        const char16_t Code = Char.unicode();
        if (!Main.IsShared(Code))
            continue;
        const TCellGlyphShare* Twin = Main.IsIdeographTwin(Code) ? AFaces.Twin() : nullptr;
        Twins = Twins || Twin != nullptr;
        if (FDrawn != nullptr)
            FDrawn->Note(Twin != nullptr ? *Twin : Main, Code);
    }
    return Twins;
}

void TCellTextDrawer::Draw(QPainter& APainter, const QRectF& ARect, const QString& AText,
                           const QFont& AFont, const QTextOption& AOption) {
    Draw(APainter, ARect, AText, Faces(AFont), AOption);
}

void TCellTextDrawer::Draw(QPainter& APainter, const QRectF& ARect, const QString& AText,
                           TCellTextFaces& AFaces, const QTextOption& AOption) {
    if (!Scan(AText, AFaces)) {
        FLaid.Draw(APainter, ARect, AText, AFaces.Font(), &AFaces, AOption);
        return;
    }
    // Drawn at once: what is held comes first, to keep the page's order.
    FGather.Flush(APainter);
    DrawWithTwins(APainter, ARect, AText, AFaces, AOption);
}

// The text laid out with the twins in the twin font, placed and clipped as
// QPainter::drawText places and clips a text.
void TCellTextDrawer::DrawWithTwins(QPainter& APainter, const QRectF& ARect, const QString& AText,
                                    TCellTextFaces& AFaces, const QTextOption& AOption) const {
    QTextLayout Layout(AText, AFaces.Font(), APainter.device());
    Layout.setTextOption(AOption);
    QTextCharFormat Twin;
    Twin.setFont(AFaces.TwinFont());
    QList<QTextLayout::FormatRange> Ranges;
    for (int I = 0; I < AText.size(); ++I) {
        if (!AFaces.Main().IsIdeographTwin(AText[I].unicode()))
            continue;
        if (!Ranges.isEmpty() && Ranges.last().start + Ranges.last().length == I)
            ++Ranges.last().length;
        else
            Ranges.append({I, 1, Twin});
    }
    Layout.setFormats(Ranges);
    const qreal Height =
        TCellLaidTexts::StackLines(Layout, ARect.width(), QFontMetricsF(AFaces.Font()).leading());
    const QPointF Origin(
        ARect.left(),
        ARect.top() + TCellLaidTexts::TopOffset(APainter, ARect, Height, AOption.alignment()));
    const QRectF Bounds = Layout.boundingRect().translated(Origin);
    const bool Clip = !ARect.contains(Bounds);
    if (Clip) {
        APainter.save();
        APainter.setClipRect(ARect, Qt::IntersectClip);
    }
    Layout.draw(&APainter, Origin);
    if (Clip)
        APainter.restore();
}
