#include "TCellLaidTexts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <functional>

bool TCellLaidTexts::TKey::operator==(const TKey& AOther) const {
    return Font == AOther.Font && Width == AOther.Width && Height == AOther.Height &&
           Scale == AOther.Scale && Option == AOther.Option && Text == AOther.Text;
}

size_t TCellLaidTexts::THash::operator()(const TKey& AKey) const {
    size_t Hash = qHash(AKey.Text);
    for (const size_t Part : {std::hash<const void*>()(AKey.Font), std::hash<double>()(AKey.Width),
                              std::hash<double>()(AKey.Height), std::hash<double>()(AKey.Scale),
                              std::hash<int>()(AKey.Option)})
        Hash = Hash * 31 + Part;
    return Hash;
}

namespace {

// Whether the last line holds one Chinese character alone
// ("省教育厅本级本级合/计") while the line before, also ending in one, keeps
// at least two when it gives its last character to the last line. Moving
// that character keeps the number of lines, so row heights fitted to the
// text still hold. Other scripts break between words and are left alone.
bool HasOrphan(const QTextLayout& ALayout) {
    const int Lines = ALayout.lineCount();
    if (Lines < 2)
        return false;
    const QTextLine Last = ALayout.lineAt(Lines - 1);
    const QTextLine Before = ALayout.lineAt(Lines - 2);
    const QString Text = ALayout.text();
    const QString Tail = Text.mid(Last.textStart(), Last.textLength());
    const int Given = Before.textStart() + Before.textLength() - 1;
    const auto Han = [&](int AAt) {
        return AAt >= 0 && AAt < Text.size() && Text[AAt].script() == QChar::Script_Han;
    };
    return Tail.size() == 1 && Han(Last.textStart()) && Before.textLength() >= 3 && Han(Given);
}

qreal PlaceLines(QTextLayout& ALayout, qreal AWidth, qreal ALeading, int AShortLine) {
    qreal Height = -ALeading;
    ALayout.beginLayout();
    int Index = 0;
    for (QTextLine Line = ALayout.createLine(); Line.isValid(); Line = ALayout.createLine()) {
        Line.setLineWidth(AWidth);
        if (Index++ == AShortLine)
            Line.setNumColumns(Line.textLength() - 1, AWidth);
        Height += ALeading;
        Line.setPosition(QPointF(0, Height));
        Height += Line.height();
    }
    ALayout.endLayout();
    return Height;
}

} // namespace

qreal TCellLaidTexts::StackLines(QTextLayout& ALayout, qreal AWidth, qreal ALeading) {
    const qreal Height = PlaceLines(ALayout, AWidth, ALeading, -1);
    if (!HasOrphan(ALayout))
        return Height;
    return PlaceLines(ALayout, AWidth, ALeading, ALayout.lineCount() - 2);
}

qreal TCellLaidTexts::TopOffset(const QPainter& APainter, const QRectF& ARect, qreal AHeight,
                                Qt::Alignment AAlign) {
    if (AAlign & Qt::AlignBottom)
        return ARect.height() - AHeight;
    if (!(AAlign & Qt::AlignVCenter))
        return 0;
    qreal Offset = (ARect.height() - AHeight) / 2;
    const qreal Scale = APainter.transform().m22();
    if (APainter.transform().type() <= QTransform::TxScale && Scale != 0)
        Offset = -std::round(-Offset * Scale) / Scale;
    return Offset;
}

TCellLaidTexts::TLaid TCellLaidTexts::Lay(QPainter& APainter, const QRectF& ARect,
                                          const QString& AText, const QFont& AFont,
                                          const QTextOption& AOption) const {
    QTextLayout Layout(AText, AFont, APainter.device());
    Layout.setTextOption(AOption);
    const qreal Height = StackLines(Layout, ARect.width(), QFontMetricsF(AFont).leading());
    TLaid Laid;
    Laid.Origin = QPointF(0, TopOffset(APainter, ARect, Height, AOption.alignment()));
    Laid.Runs = Layout.glyphRuns();
    const QRectF Bounds = Layout.boundingRect().translated(Laid.Origin);
    Laid.Clip = !QRectF(QPointF(0, 0), ARect.size()).contains(Bounds);
    return Laid;
}

void TCellLaidTexts::Draw(QPainter& APainter, const QRectF& ARect, const QString& AText,
                          const QFont& AFont, const void* AFontId, const QTextOption& AOption) {
    const TKey Key{AText,
                   AFontId,
                   ARect.width(),
                   ARect.height(),
                   APainter.transform().m22(),
                   int(AOption.alignment()) | (int(AOption.wrapMode()) << 16)};
    auto Found = FLaid.find(Key);
    if (Found == FLaid.end()) {
        // Amounts and codes hardly ever recur: a long table would keep the
        // runs of every one of them. The texts that do recur are back after
        // a clear within a few rows.
        if (FLaid.size() >= MaxTexts)
            FLaid.clear();
        Found = FLaid.emplace(Key, Lay(APainter, ARect, AText, AFont, AOption)).first;
    }
    const TLaid& Laid = Found->second;
    if (Laid.Clip) {
        APainter.save();
        APainter.setClipRect(ARect, Qt::IntersectClip);
    }
    const QPointF At = ARect.topLeft() + Laid.Origin;
    for (const QGlyphRun& Run : Laid.Runs)
        APainter.drawGlyphRun(At, Run);
    if (Laid.Clip)
        APainter.restore();
}
