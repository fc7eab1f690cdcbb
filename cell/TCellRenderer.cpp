#include "TCellRenderer.h"

#include "TCellFonts.h"
#include "TCellRowFitter.h"
#include "TCellTextDrawer.h"

#include <QPainter>
#include <algorithm>
#include <unordered_set>

const QColor TCellRenderer::GridColour(0xD4, 0xD4, 0xD4);
const QColor TCellRenderer::ShadeColour(0xEE, 0xEE, 0xEE);

namespace {

Qt::Alignment Alignment(const TCell& ACell) {
    Qt::Alignment Result;
    switch (ACell.HorizontalAlign()) {
    case TCell::AlignCentre:
        Result = Qt::AlignHCenter;
        break;
    case TCell::AlignRight:
        Result = Qt::AlignRight;
        break;
    default:
        Result = Qt::AlignLeft;
    }
    switch (ACell.VerticalAlign()) {
    case TCell::AlignTop:
        return Result | Qt::AlignTop;
    case TCell::AlignBottom:
        return Result | Qt::AlignBottom;
    default:
        return Result | Qt::AlignVCenter;
    }
}

} // namespace

TCellRenderer::TCellRenderer(const TCellSheet& ASheet, TCellRowFitter& AFitter,
                             TCellTextDrawer& ADrawer, const TCellFonts* AFonts)
    : FSheet(ASheet)
    , FFitter(AFitter)
    , FDrawer(ADrawer)
    , FFonts(AFonts) {}

void TCellRenderer::Paint(QPainter& APainter, const TCellRange& ARange) {
    const std::vector<TBlock> Items = Blocks(ARange);
    for (const TBlock& Block : Items)
        if (Block.Cell != nullptr && Block.Cell->IsShaded())
            APainter.fillRect(Block.Rect, ShadeColour);
    FHorizontal.clear();
    FVertical.clear();
    for (const TBlock& Block : Items)
        CollectLines(Block);
    APainter.setPen(Qt::black);
    FFontKey = -1;
    {
        const TCellTextDrawer::TGathering Gathering(FDrawer, APainter);
        for (const TBlock& Block : Items)
            PaintText(APainter, Block);
    }
    StrokeLines(APainter, FHorizontal, true);
    StrokeLines(APainter, FVertical, false);
}

std::vector<TCellRenderer::TBlock> TCellRenderer::Blocks(const TCellRange& ARange) const {
    std::vector<TBlock> Result;
    Result.reserve(static_cast<size_t>(ARange.ColSpan()) * ARange.RowSpan());
    std::unordered_set<const TCellRange*> Seen;
    for (int Row = ARange.FirstRow; Row <= ARange.LastRow; ++Row) {
        for (int Col = ARange.FirstCol; Col <= ARange.LastCol; ++Col) {
            const TCellRange* Merge = FSheet.MergeAt(Col, Row);
            if (Merge == nullptr) {
                const TCellRange Single{Col, Row, Col, Row};
                Result.push_back({Single, FSheet.RangeRect(Single), FSheet.Cell(Col, Row)});
            } else if (Seen.insert(Merge).second) {
                Result.push_back({*Merge, FSheet.RangeRect(*Merge),
                                  FSheet.Cell(Merge->FirstCol, Merge->FirstRow)});
            }
        }
    }
    return Result;
}

void TCellRenderer::PaintText(QPainter& APainter, const TBlock& ABlock) {
    if (ABlock.Cell == nullptr || ABlock.Cell->IsEmpty() || ABlock.Rect.isEmpty())
        return;
    const TCell& Cell = *ABlock.Cell;
    const QString Text = Cell.DisplayText();
    const QFont Font = FFonts != nullptr ? FFonts->CellFont(Cell) : FSheet.CellFont(Cell);
    const int FontKey = Cell.Font * 2 + (Cell.IsBold() ? 1 : 0);
    if (FontKey != FFontKey) {
        APainter.setFont(Font);
        FFontKey = FontKey;
        FFaces = &FDrawer.Faces(Font);
    }
    const QRectF Inner = QRectF(ABlock.Rect)
                             .adjusted(TCellRowFitter::PaddingX, TCellRowFitter::PaddingY,
                                       -TCellRowFitter::PaddingX, -TCellRowFitter::PaddingY);
    const bool Code = TCellRowFitter::IsCode(Text);
    // A row not fitted to its text must not spill it over its neighbours;
    // fitted rows, nearly all of them, need no clipping.
    const int Height = Code ? FFitter.LineHeight(Font)
                            : FFitter.TextHeight(Text, Font, static_cast<int>(Inner.width()));
    const bool Overflows = Height > Inner.height() + 0.5;
    if (Overflows) {
        // Texts held from the cells before must not come under this clip.
        // What this cell's text leaves held fits its cell and so needs none.
        FDrawer.Flush(APainter);
        APainter.save();
        APainter.setClipRect(ABlock.Rect, Qt::IntersectClip);
    }
    if (Code)
        PaintCode(APainter, Inner, Text, Font, Alignment(Cell));
    else
        FDrawer.Draw(APainter, Inner, TCellRowFitter::LayoutText(Text), *FFaces,
                     TCellRowFitter::TextOption(Alignment(Cell)));
    if (Overflows)
        APainter.restore();
}

// A code on one line; scaled down as a whole when it is wider than its cell.
void TCellRenderer::PaintCode(QPainter& APainter, const QRectF& AInner, const QString& AText,
                              const QFont& AFont, Qt::Alignment AAlign) {
    QTextOption Option(AAlign);
    Option.setWrapMode(QTextOption::NoWrap);
    const double Width = FFitter.LineWidth(AText, AFont);
    if (Width <= AInner.width() || AInner.width() <= 0) {
        FDrawer.Draw(APainter, AInner, AText, *FFaces, Option);
        return;
    }
    const double Scale = AInner.width() / Width;
    FDrawer.Flush(APainter);
    APainter.save();
    APainter.translate(AInner.topLeft());
    APainter.scale(Scale, Scale);
    // Half a pixel to spare on each side: the summed advances may differ from
    // the laid-out width in the last bit, and the text must not be clipped.
    FDrawer.Draw(APainter, QRectF(-0.5, 0, Width + 1, AInner.height() / Scale), AText, *FFaces,
                 Option);
    FDrawer.Flush(APainter);
    APainter.restore();
}

void TCellRenderer::CollectLines(const TBlock& ABlock) {
    const QRect& R = ABlock.Rect;
    const int Left = R.left(), Top = R.top();
    const int Right = R.left() + R.width(), Bottom = R.top() + R.height();
    auto Edge = [&](int AEdge) {
        if (ABlock.Range.IsSingle())
            return ABlock.Cell != nullptr ? ABlock.Cell->Edge(AEdge) : 0;
        return FSheet.RangeEdge(ABlock.Range, AEdge);
    };
    if (FGridlines) {
        FHorizontal[{Bottom, 0}].emplace_back(Left, Right);
        FVertical[{Right, 0}].emplace_back(Top, Bottom);
    }
    if (const int Line = Edge(TCell::EdgeLeft))
        FVertical[{Left, Line}].emplace_back(Top, Bottom);
    if (const int Line = Edge(TCell::EdgeRight))
        FVertical[{Right, Line}].emplace_back(Top, Bottom);
    if (const int Line = Edge(TCell::EdgeTop))
        FHorizontal[{Top, Line}].emplace_back(Left, Right);
    if (const int Line = Edge(TCell::EdgeBottom))
        FHorizontal[{Bottom, Line}].emplace_back(Left, Right);
}

void TCellRenderer::StrokeLines(QPainter& APainter, TPieces& APieces, bool AHorizontal) const {
    // Gridlines first (the key orders pens within a position), borders over them.
    for (int Pen = 0; Pen <= 2; ++Pen) {
        if (Pen == 0)
            APainter.setPen(QPen(GridColour, 0));
        else
            APainter.setPen(
                QPen(Qt::black, Pen == 2 ? MediumLine : ThinLine, Qt::SolidLine, Qt::SquareCap));
        for (auto& [Key, Pieces] : APieces) {
            if (Key.Pen != Pen)
                continue;
            std::sort(Pieces.begin(), Pieces.end());
            auto Run = Pieces.front();
            auto Stroke = [&] {
                if (AHorizontal)
                    APainter.drawLine(QLineF(Run.first, Key.Position, Run.second, Key.Position));
                else
                    APainter.drawLine(QLineF(Key.Position, Run.first, Key.Position, Run.second));
            };
            for (const auto& Piece : Pieces) {
                if (Piece.first <= Run.second) {
                    Run.second = std::max(Run.second, Piece.second);
                } else {
                    Stroke();
                    Run = Piece;
                }
            }
            Stroke();
        }
    }
}
