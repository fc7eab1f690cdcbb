#pragma once

#include "TCellSheet.h"

#include <QColor>
#include <map>
#include <vector>

class QPainter;
class TCellFonts;
class TCellRowFitter;
class TCellTextDrawer;
class TCellTextFaces;

// Draws part of a sheet with a painter in sheet pixels: backgrounds of shaded
// cells, texts wrapped in their cells, borders and, on screen, the light
// gridlines. The caller sets the painter's transform and clip; the same code
// draws the widget, the preview and the printed pages.
//
// Texts go through a text drawer (TCellTextDrawer), which keeps a PDF's
// text layer true to them; codes and numbers stay on one line, smaller when
// their cell is too narrow.
//
// Lines are collected first and joined where they continue one another, so a
// column rule down a page is one stroke rather than one per cell: a printed
// table then stays small and quick to write.
class TCellRenderer {
public:
    static const QColor GridColour;
    static const QColor ShadeColour;
    static constexpr double ThinLine = 0.75;
    static constexpr double MediumLine = 1.5;

    // AFonts, when given, are the fonts to draw in instead of the sheet's
    // own (see TCellFonts).
    TCellRenderer(const TCellSheet& ASheet, TCellRowFitter& AFitter, TCellTextDrawer& ADrawer,
                  const TCellFonts* AFonts = nullptr);

    void SetGridlines(bool AGridlines) { FGridlines = AGridlines; }
    // Paints every cell and every merge that intersects the range.
    void Paint(QPainter& APainter, const TCellRange& ARange);

private:
    struct TBlock {
        TCellRange Range;
        QRect Rect;
        const TCell* Cell;
    };
    // Line pieces on one horizontal (or vertical) line, by pen.
    struct TLineKey {
        int Position;
        int Pen; // 0 gridline, 1 thin, 2 medium
        bool operator<(const TLineKey& AOther) const {
            return Position != AOther.Position ? Position < AOther.Position : Pen < AOther.Pen;
        }
    };
    using TPieces = std::map<TLineKey, std::vector<std::pair<int, int>>>;

    std::vector<TBlock> Blocks(const TCellRange& ARange) const;
    void PaintText(QPainter& APainter, const TBlock& ABlock);
    void PaintCode(QPainter& APainter, const QRectF& AInner, const QString& AText,
                   const QFont& AFont, Qt::Alignment AAlign);
    void CollectLines(const TBlock& ABlock);
    void StrokeLines(QPainter& APainter, TPieces& APieces, bool AHorizontal) const;

    const TCellSheet& FSheet;
    TCellRowFitter& FFitter;
    TCellTextDrawer& FDrawer;
    const TCellFonts* FFonts;
    bool FGridlines = false;
    int FFontKey = -1;
    TCellTextFaces* FFaces = nullptr; // those of the font FFontKey names
    TPieces FHorizontal;
    TPieces FVertical;
};
