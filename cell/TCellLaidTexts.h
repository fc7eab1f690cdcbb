#pragma once

#include "TCellCodeShaper.h"

#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

class QFont;
class QPaintDevice;
class QPainter;
class TCellGlyphGather;
class QTextLayout;
class QTextOption;

// Texts laid out once and drawn as often as they occur. A table repeats
// much of its text (subject codes and names, indicator names, the
// former-channel note) in cells of the same size; laying a text out costs
// about as much as drawing it, so each text is laid out once per font,
// cell size, alignment and scale, and its glyph runs are drawn again at
// each place. The placement is QPainter::drawText's with a text option:
// lines a leading apart, the block aligned in the rectangle and clipped to
// it when it does not fit.
//
// Numbers on one line (amounts, codes) are most of a table's texts and
// seldom recur: once a font has drawn enough of them, they are shaped by a
// TCellCodeShaper instead, without a layout and without the cache.
class TCellLaidTexts {
public:
    TCellLaidTexts();
    ~TCellLaidTexts();
    TCellLaidTexts(const TCellLaidTexts&) = delete;
    TCellLaidTexts& operator=(const TCellLaidTexts&) = delete;

    // AFontId tells the fonts apart (one per font for the cache's life).
    void Draw(QPainter& APainter, const QRectF& ARect, const QString& AText, const QFont& AFont,
              const void* AFontId, const QTextOption& AOption);
    // While AGather is set, texts that need no clip of their own go to it
    // instead of the painter (see TCellGlyphGather).
    void SetGather(TCellGlyphGather* AGather) { FGather = AGather; }

    // Lays ALayout's lines out AWidth wide, each on a whole-pixel position a
    // leading below the one before, as QPainter does, with no character
    // alone on the last line where the line before can give it company;
    // the height they take.
    static qreal StackLines(QTextLayout& ALayout, qreal AWidth, qreal ALeading);
    // Where a block of AHeight begins in ARect for the vertical alignment,
    // rounded to device pixels as QPainter rounds it.
    static qreal TopOffset(const QPainter& APainter, const QRectF& ARect, qreal AHeight,
                           Qt::Alignment AAlign);

private:
    struct TKey {
        QString Text;
        const void* Font;
        double Width;
        double Height;
        double Scale;
        int Option;
        bool operator==(const TKey& AOther) const;
    };
    struct THash {
        size_t operator()(const TKey& AKey) const;
    };
    struct TLaid {
        QList<QGlyphRun> Runs;
        // Relative to the rectangle's top left.
        QPointF Origin;
        bool Clip = false;
    };

    void DrawRuns(QPainter& APainter, const TLaid& ALaid, const QRectF& ARect);
    // The numbers of one font on one device, shaped without a layout once
    // enough of them were drawn to repay the shaper's set-up.
    struct TCodeFont {
        const void* Font;
        const QPaintDevice* Device;
        int Laid = 0;
        std::unique_ptr<TCellCodeShaper> Shaper;
    };

    TLaid LayWithQt(QPainter& APainter, const QRectF& ARect, const QString& AText,
                    const QFont& AFont, const QTextOption& AOption) const;
    bool DrawCode(QPainter& APainter, const QRectF& ARect, const QString& AText, const QFont& AFont,
                  const void* AFontId, const QTextOption& AOption);
    TCellCodeShaper* Shaper(const QFont& AFont, const void* AFontId, QPaintDevice* ADevice);

    static constexpr int CodesBeforeShaper = 256;

    static constexpr size_t MaxTexts = 4096;
    std::unordered_map<TKey, TLaid, THash> FLaid;
    TCellGlyphGather* FGather = nullptr;
    std::vector<TCodeFont> FCodeFonts;
    TCellCodeShaper::TLine FLine; // reused for every number
};
