#include "TCellCodeShaper.h"

#include <QFont>
#include <QTextLayout>
#include <cmath>

namespace {

constexpr char16_t Alphabet[] = u"0123456789.,-";
constexpr qreal MaxWidth = 1 << 24;

// 1/64 pixel steps, as a text layout counts.
qint64 Steps(qreal AValue) {
    return std::llround(AValue * 64);
}

// Qt's line of AText, left-aligned in a cell wider than it needs.
struct TQtLine {
    QList<QGlyphRun> Runs;
    qreal Height = 0;
    qreal Advance = 0;
    qreal Natural = 0;
};

TQtLine LayOut(const QString& AText, const QFont& AFont, QPaintDevice* ADevice) {
    QTextLayout Layout(AText, AFont, ADevice);
    QTextOption Option(Qt::AlignLeft);
    Option.setWrapMode(QTextOption::NoWrap);
    Layout.setTextOption(Option);
    Layout.beginLayout();
    QTextLine Line = Layout.createLine();
    Line.setLineWidth(1000);
    Line.setPosition(QPointF(0, 0));
    Layout.endLayout();
    return {Layout.glyphRuns(), Line.height(), Line.horizontalAdvance(), Line.naturalTextWidth()};
}

} // namespace

TCellCodeShaper::TCellCodeShaper(const QFont& AFont, QPaintDevice* ADevice) {
    FUsable = Measure(AFont, ADevice);
}

const std::array<qint8, 128> TCellCodeShaper::LetterOf = [] {
    std::array<qint8, 128> Result;
    Result.fill(-1);
    for (int Index = 0; Index < Letters; ++Index)
        Result[Alphabet[Index]] = static_cast<qint8>(Index);
    return Result;
}();

QGlyphRun TCellCodeShaper::TLine::Run() const {
    QGlyphRun Result;
    Result.setRawFont(Font);
    Result.setGlyphIndexes(Glyphs);
    Result.setPositions(Positions);
    return Result;
}

// Every character alone and every pair, each in one run of one face, the
// pair with the glyphs of its characters alone, every line as high as the
// others with its baseline at the same place.
bool TCellCodeShaper::Measure(const QFont& AFont, QPaintDevice* ADevice) {
    for (int First = 0; First < Letters; ++First) {
        const TQtLine Alone = LayOut(QString(QChar(Alphabet[First])), AFont, ADevice);
        if (Alone.Runs.size() != 1 || Alone.Runs[0].glyphIndexes().size() != 1)
            return false;
        const QGlyphRun& Run = Alone.Runs[0];
        if (Run.flags() != QGlyphRun::GlyphRunFlags())
            return false; // lines over or under the text are Qt's to draw
        if (First == 0) {
            FFont = Run.rawFont();
            FBaseline = Run.positions()[0].y();
            FHeight = Alone.Height;
        }
        if (Run.rawFont() != FFont || Run.positions()[0] != QPointF(0, FBaseline) ||
            Alone.Height != FHeight)
            return false;
        FGlyph[size_t(First)] = Run.glyphIndexes()[0];
        FLast[size_t(First)] = Steps(Alone.Advance);
        FOverhang[size_t(First)] = Steps(Alone.Natural) - FLast[size_t(First)];
    }
    for (int First = 0; First < Letters; ++First) {
        for (int Second = 0; Second < Letters; ++Second) {
            const QString Text = QString(QChar(Alphabet[First])) + QChar(Alphabet[Second]);
            const TQtLine Pair = LayOut(Text, AFont, ADevice);
            if (Pair.Runs.size() != 1 || Pair.Runs[0].rawFont() != FFont ||
                Pair.Runs[0].glyphIndexes() !=
                    QList<quint32>{FGlyph[size_t(First)], FGlyph[size_t(Second)]} ||
                Pair.Runs[0].positions()[0] != QPointF(0, FBaseline) ||
                Pair.Runs[0].positions()[1].y() != FBaseline || Pair.Height != FHeight)
                return false;
            FPair[size_t(First)][size_t(Second)] = Steps(Pair.Runs[0].positions()[1].x());
        }
    }
    return true;
}

bool TCellCodeShaper::Shape(const QString& AText, qreal AWidth, Qt::Alignment AAlign,
                            TLine& ALine) const {
    // Qt counts a line's width in 1/64 pixel in 32 bits; a width beyond
    // that, or none at all (NaN), is left to Qt.
    if (!FUsable || AText.isEmpty() || !(std::abs(AWidth) < MaxWidth))
        return false;
    const qsizetype Count = AText.size();
    ALine.Glyphs.resize(Count);
    ALine.Positions.resize(Count);
    qint64 Advance = 0;
    int Before = -1;
    for (qsizetype Index = 0; Index < Count; ++Index) {
        const int Current = Letter(AText[Index].unicode());
        if (Current < 0)
            return false;
        if (Before >= 0)
            Advance += FPair[size_t(Before)][size_t(Current)];
        ALine.Glyphs[Index] = FGlyph[size_t(Current)];
        ALine.Positions[Index].setX(qreal(Advance));
        Before = Current;
    }
    Advance += FLast[size_t(Before)];
    const qint64 Natural = Advance + FOverhang[size_t(Before)];
    // The line's width as a layout takes it (cut to whole steps), and the
    // start of the text within it.
    const qint64 Width = static_cast<qint64>(AWidth * 64);
    qint64 Start = 0;
    if (AAlign & Qt::AlignRight)
        Start = Width - Advance;
    else if (AAlign & Qt::AlignHCenter)
        Start = (Width - Advance) / 2;
    for (QPointF& Position : ALine.Positions)
        Position = QPointF(qreal(Start + qint64(Position.x())) / 64, FBaseline);
    ALine.Font = FFont;
    ALine.Height = FHeight;
    ALine.Bounds = QRectF(0, 0, qreal(std::max(Width, Natural)) / 64, std::ceil(FHeight));
    return true;
}

void TCellCodeShaper::Confirm(bool ASame) {
    if (!ASame)
        FUsable = false;
    else
        ++FConfirmed;
}
