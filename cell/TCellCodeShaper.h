#pragma once

#include <QGlyphRun>
#include <QRawFont>
#include <QRectF>
#include <array>

class QFont;
class QPaintDevice;
class QString;

// Lays out amounts and numeric codes ("358,539.61", "-2.65", "00009705")
// on one line without a text layout of their own. A long table holds tens
// of thousands of them, nearly all different, and a text layout for each
// is most of the time its PDF takes. Each character of the alphabet and
// each pair of them is laid out once by Qt; a number's glyphs are then put
// one after the other with the advance its pair gave (which carries the
// font's kerning), and the line aligned in its cell as a text layout
// aligns it, in the same 1/64 pixel steps.
//
// Nothing is trusted blind: a font whose characters Qt draws in more than
// one face, with other glyphs in a pair than alone, or with lines of
// different heights is not shaped here, and the caller compares the first
// numbers shaped with Qt's own layout (Confirm) before it draws any from
// here alone.
class TCellCodeShaper {
public:
    static constexpr int ToConfirm = 24;

    // The line of a shaped text: its glyphs and their positions relative to
    // the cell's top left with the line at the top, the line's height and
    // the text layout's bounding rectangle. A line given again keeps its
    // lists' room.
    struct TLine {
        QRawFont Font;
        QList<quint32> Glyphs;
        QList<QPointF> Positions;
        qreal Height = 0;
        QRectF Bounds;
        QGlyphRun Run() const;
    };

    TCellCodeShaper(const QFont& AFont, QPaintDevice* ADevice);

    // False when the text holds a character outside the alphabet or the
    // font cannot be shaped here; AAlign's horizontal part is used.
    bool Shape(const QString& AText, qreal AWidth, Qt::Alignment AAlign, TLine& ALine) const;
    // Whether the next number should still be compared with Qt's layout.
    bool Confirming() const { return FUsable && FConfirmed < ToConfirm; }
    // The outcome of one comparison: a difference ends shaping here.
    void Confirm(bool ASame);
    bool Usable() const { return FUsable; }

private:
    static constexpr int Letters = 13;
    static int Letter(char16_t AChar) { return AChar < 128 ? LetterOf[AChar] : -1; }
    static const std::array<qint8, 128> LetterOf;
    bool Measure(const QFont& AFont, QPaintDevice* ADevice);

    bool FUsable = false;
    int FConfirmed = 0;
    QRawFont FFont;
    qreal FBaseline = 0;
    qreal FHeight = 0;
    std::array<quint32, Letters> FGlyph{};
    // Advances in 1/64 pixel: of a character last on its line, and of the
    // first of a pair followed by the second.
    std::array<qint64, Letters> FLast{};
    // What a line ending in the character reaches beyond its advance.
    std::array<qint64, Letters> FOverhang{};
    std::array<std::array<qint64, Letters>, Letters> FPair{};
};
