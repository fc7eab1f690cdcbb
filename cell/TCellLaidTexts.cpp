#include "TCellLaidTexts.h"

#include "TCellCodeShaper.h"
#include "TCellGlyphGather.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <functional>

TCellLaidTexts::TCellLaidTexts() = default;

TCellLaidTexts::~TCellLaidTexts() = default;

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

TCellCodeShaper* TCellLaidTexts::Shaper(const QFont& AFont, const void* AFontId,
                                        QPaintDevice* ADevice) {
    auto Found = std::find_if(FCodeFonts.begin(), FCodeFonts.end(), [&](const TCodeFont& AOne) {
        return AOne.Font == AFontId && AOne.Device == ADevice;
    });
    if (Found == FCodeFonts.end()) {
        FCodeFonts.push_back({AFontId, ADevice, 0, nullptr});
        Found = std::prev(FCodeFonts.end());
    }
    if (!Found->Shaper && ++Found->Laid >= CodesBeforeShaper)
        Found->Shaper = std::make_unique<TCellCodeShaper>(AFont, ADevice);
    return Found->Shaper.get();
}

// A number on one line through the shaper, false when the shaper does not
// take it. While the shaper is still being confirmed, Qt lays the text out
// too and its layout is the one drawn.
bool TCellLaidTexts::DrawCode(QPainter& APainter, const QRectF& ARect, const QString& AText,
                              const QFont& AFont, const void* AFontId, const QTextOption& AOption) {
    TCellCodeShaper* Shaper = this->Shaper(AFont, AFontId, APainter.device());
    if (Shaper == nullptr || !Shaper->Shape(AText, ARect.width(), AOption.alignment(), FLine))
        return false;
    TLaid Laid;
    Laid.Origin = QPointF(0, TopOffset(APainter, ARect, FLine.Height, AOption.alignment()));
    Laid.Clip = !QRectF(QPointF(0, 0), ARect.size()).contains(FLine.Bounds.translated(Laid.Origin));
    if (Shaper->Confirming()) {
        const TLaid Qt = LayWithQt(APainter, ARect, AText, AFont, AOption);
        Shaper->Confirm(Qt.Runs.size() == 1 && Qt.Runs[0] == FLine.Run() &&
                        Qt.Origin == Laid.Origin && Qt.Clip == Laid.Clip);
        DrawRuns(APainter, Qt, ARect);
    } else if (FGather != nullptr && !Laid.Clip) {
        FGather->Add(APainter, FLine.Font, FLine.Glyphs, FLine.Positions,
                     ARect.topLeft() + Laid.Origin);
    } else {
        Laid.Runs = {FLine.Run()};
        DrawRuns(APainter, Laid, ARect);
    }
    return true;
}

TCellLaidTexts::TLaid TCellLaidTexts::LayWithQt(QPainter& APainter, const QRectF& ARect,
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
    // A number is shaped afresh each time: quicker than looking it up.
    if (AOption.wrapMode() == QTextOption::NoWrap &&
        DrawCode(APainter, ARect, AText, AFont, AFontId, AOption))
        return;
    const TKey Key{AText,
                   AFontId,
                   ARect.width(),
                   ARect.height(),
                   APainter.transform().m22(),
                   int(AOption.alignment()) | (int(AOption.wrapMode()) << 16)};
    auto Found = FLaid.find(Key);
    if (Found == FLaid.end()) {
        // Names of units and indicators seldom recur either: a long table
        // would keep the runs of every one of them. The texts that do recur
        // are back after a clear within a few rows.
        if (FLaid.size() >= MaxTexts)
            FLaid.clear();
        Found = FLaid.emplace(Key, LayWithQt(APainter, ARect, AText, AFont, AOption)).first;
    }
    DrawRuns(APainter, Found->second, ARect);
}

void TCellLaidTexts::DrawRuns(QPainter& APainter, const TLaid& ALaid, const QRectF& ARect) {
    const QPointF At = ARect.topLeft() + ALaid.Origin;
    // A line over or under a text spans its own run only; a clipped text
    // is drawn in a state of its own.
    constexpr auto Lines = QGlyphRun::Overline | QGlyphRun::Underline | QGlyphRun::StrikeOut;
    const bool Alone =
        ALaid.Clip || std::any_of(ALaid.Runs.begin(), ALaid.Runs.end(), [&](const QGlyphRun& ARun) {
            return bool(ARun.flags() & Lines);
        });
    if (FGather != nullptr && !Alone) {
        for (const QGlyphRun& Run : ALaid.Runs)
            FGather->Add(APainter, Run, At);
        return;
    }
    if (FGather != nullptr)
        FGather->Flush(APainter);
    if (ALaid.Clip) {
        APainter.save();
        APainter.setClipRect(ARect, Qt::IntersectClip);
    }
    for (const QGlyphRun& Run : ALaid.Runs)
        APainter.drawGlyphRun(At, Run);
    if (ALaid.Clip)
        APainter.restore();
}
