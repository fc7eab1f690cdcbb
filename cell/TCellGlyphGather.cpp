#include "TCellGlyphGather.h"

#include <QPainter>

void TCellGlyphGather::Add(QPainter& APainter, const QGlyphRun& ARun, const QPointF& AAt) {
    Hold(APainter, ARun.rawFont(), ARun.flags(), ARun.glyphIndexes(), ARun.positions(), AAt);
}

void TCellGlyphGather::Add(QPainter& APainter, const QRawFont& AFont, const QList<quint32>& AGlyphs,
                           const QList<QPointF>& APositions, const QPointF& AAt) {
    Hold(APainter, AFont, {}, AGlyphs, APositions, AAt);
}

void TCellGlyphGather::Hold(QPainter& APainter, const QRawFont& AFont,
                            QGlyphRun::GlyphRunFlags AFlags, const QList<quint32>& AGlyphs,
                            const QList<QPointF>& APositions, const QPointF& AAt) {
    if (!FGlyphs.isEmpty() && (AFont != FFont || AFlags != FFlags))
        Flush(APainter);
    if (FGlyphs.isEmpty()) {
        FFont = AFont;
        FFlags = AFlags;
    }
    FGlyphs.append(AGlyphs);
    for (const QPointF& Position : APositions)
        FPositions.append(AAt + Position);
}

void TCellGlyphGather::Flush(QPainter& APainter) {
    if (FGlyphs.isEmpty())
        return;
    QGlyphRun Run;
    Run.setRawFont(FFont);
    Run.setFlags(FFlags);
    Run.setGlyphIndexes(FGlyphs);
    Run.setPositions(FPositions);
    APainter.drawGlyphRun(QPointF(0, 0), Run);
    FGlyphs.clear();
    FPositions.clear();
}
