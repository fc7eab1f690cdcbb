#pragma once

#include <QGlyphRun>
#include <QList>
#include <QPointF>
#include <QRawFont>

class QPainter;

// Glyph runs of consecutive texts in one font held and drawn as one run. A
// PDF writer turns every drawn run into a text object of its own, with its
// own state and font setting around the glyphs; a page of a table holds a
// few hundred short texts, mostly in one font, so fewer text objects keep
// the pages smaller and quicker to write. A run in another font draws what
// is held first, so the texts keep their order in the page (the order a
// reader copying from the PDF follows). The held glyphs are drawn with the
// painter's transform and clip of the moment they are flushed: whoever
// holds them flushes before changing either or drawing anything else.
class TCellGlyphGather {
public:
    // ARun's glyphs at AAt plus their own positions.
    void Add(QPainter& APainter, const QGlyphRun& ARun, const QPointF& AAt);
    // AGlyphs at AAt plus APositions, in AFont with no line over or under.
    void Add(QPainter& APainter, const QRawFont& AFont, const QList<quint32>& AGlyphs,
             const QList<QPointF>& APositions, const QPointF& AAt);
    void Flush(QPainter& APainter);

private:
    void Hold(QPainter& APainter, const QRawFont& AFont, QGlyphRun::GlyphRunFlags AFlags,
              const QList<quint32>& AGlyphs, const QList<QPointF>& APositions, const QPointF& AAt);

    QRawFont FFont;
    QGlyphRun::GlyphRunFlags FFlags;
    QList<quint32> FGlyphs;
    QList<QPointF> FPositions;
};
