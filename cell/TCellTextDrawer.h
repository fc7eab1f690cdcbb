#pragma once

#include "TCellGlyphGather.h"
#include "TCellLaidTexts.h"
#include "TCellTextFaces.h"

#include <memory>
#include <vector>

class QPainter;
class QRectF;
class QString;
class QTextOption;
class TCellDrawnText;

// Draws texts as QPainter::drawText does with a text option, in the
// painter's current font, with one difference: characters that the font's
// face draws with an ideograph's glyph go to its twin face (see
// TCellTextFaces). Every drawn character that shares its glyph is noted in
// the record given, for the PDF's text layer. The faces are looked up once
// per font for as long as the drawer lives.
class TCellTextDrawer {
public:
    explicit TCellTextDrawer(TCellDrawnText* ADrawn = nullptr);
    ~TCellTextDrawer();
    TCellTextDrawer(const TCellTextDrawer&) = delete;
    TCellTextDrawer& operator=(const TCellTextDrawer&) = delete;

    // AFont must be the painter's font.
    void Draw(QPainter& APainter, const QRectF& ARect, const QString& AText, const QFont& AFont,
              const QTextOption& AOption);
    // The same with the font's faces looked up before: a caller drawing many
    // texts in few fonts spares the look-up.
    void Draw(QPainter& APainter, const QRectF& ARect, const QString& AText, TCellTextFaces& AFaces,
              const QTextOption& AOption);
    TCellTextFaces& Faces(const QFont& AFont);

    // While a gathering lives, the texts drawn are held and drawn together
    // (see TCellGlyphGather) when it ends or when Flush is called, which the
    // caller does before it changes the painter's transform or clip.
    class TGathering {
    public:
        TGathering(TCellTextDrawer& ADrawer, QPainter& APainter);
        ~TGathering();
        TGathering(const TGathering&) = delete;
        TGathering& operator=(const TGathering&) = delete;

    private:
        TCellTextDrawer& FDrawer;
        QPainter& FPainter;
    };
    void Flush(QPainter& APainter);

private:
    bool Scan(const QString& AText, TCellTextFaces& AFaces);
    void DrawWithTwins(QPainter& APainter, const QRectF& ARect, const QString& AText,
                       TCellTextFaces& AFaces, const QTextOption& AOption) const;

    TCellDrawnText* FDrawn;
    std::vector<std::unique_ptr<TCellTextFaces>> FFaces;
    TCellTextFaces* FLast = nullptr;
    TCellLaidTexts FLaid;
    TCellGlyphGather FGather;
};
