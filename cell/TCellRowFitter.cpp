#include "TCellRowFitter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

// A painter on a tiny image: it lays text out the way painting does.
struct TCellRowFitter::TLayoutDevice {
    TLayoutDevice()
        : Image(1, 1, QImage::Format_RGB32)
        , Painter(&Image) {}
    QImage Image;
    QPainter Painter;
};

// What is known about one font: its metrics and the advances of the
// characters met so far (negative: not yet measured).
struct TCellRowFitter::TFontMeasure {
    explicit TFontMeasure(const QFont& AFont)
        : Font(AFont)
        , Metrics(AFont)
        , LineHeight(static_cast<int>(std::ceil(Metrics.height())))
        , Advances(65536, -1.0f) {}

    // An upper estimate of the text's width on one line, or a negative
    // value when the text holds characters that cannot be summed alone.
    double QuickWidth(const QString& AText) {
        double Width = 0;
        for (const QChar Char : AText) {
            if (Char.isSurrogate() || Char.isMark() || Char == QLatin1Char('\n'))
                return -1;
            float& Advance = Advances[Char.unicode()];
            if (Advance < 0)
                Advance = static_cast<float>(Metrics.horizontalAdvance(Char));
            Width += Advance;
        }
        return Width;
    }

    QFont Font;
    QFontMetricsF Metrics;
    int LineHeight;
    std::vector<float> Advances;
};

TCellRowFitter::TCellRowFitter(const TCellSheet& ASheet)
    : FSheet(ASheet) {}

TCellRowFitter::~TCellRowFitter() = default;

QTextOption TCellRowFitter::TextOption(Qt::Alignment AAlignment) {
    QTextOption Option(AAlignment);
    Option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return Option;
}

QString TCellRowFitter::LayoutText(const QString& AText) {
    if (!AText.contains(QLatin1Char('\n')))
        return AText;
    QString Result = AText;
    return Result.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

void TCellRowFitter::Reset() {
    FMeasures.clear();
    FCellMeasures.clear();
    FCache.clear();
}

int TCellRowFitter::FitRowHeight(int ARow) {
    if (ARow < 1 || ARow >= FSheet.RowCount())
        return FSheet.DefaultRowHeight();
    int Height = FSheet.DefaultRowHeight();
    for (int Col = 1; Col <= FSheet.ColCount(); ++Col)
        Height = std::max(Height, CellHeight(Col, ARow));
    return Height;
}

int TCellRowFitter::CellHeight(int ACol, int ARow) {
    const TCell* Cell = FSheet.Cell(ACol, ARow);
    if (Cell == nullptr || Cell->IsEmpty())
        return 0;
    int Width = FSheet.ColWidth(ACol);
    if (const TCellRange* Merge = FSheet.MergeAt(ACol, ARow)) {
        // A cell hidden under a merge shows nothing, and a merge over several
        // rows shares its height among them, so neither sizes this row.
        if (Merge->FirstCol != ACol || Merge->FirstRow != ARow || Merge->RowSpan() > 1)
            return 0;
        Width = FSheet.ColLeft(Merge->LastCol + 1) - FSheet.ColLeft(ACol);
    }
    const QString Text = Cell->DisplayText();
    if (Text.isEmpty())
        return 0;
    return Height(Text, CellMeasure(*Cell), Width - 2 * PaddingX) + 2 * PaddingY;
}

int TCellRowFitter::TextHeight(const QString& AText, const QFont& AFont, int AWidth) {
    return Height(AText, MeasureIndex(AFont), AWidth);
}

int TCellRowFitter::Height(const QString& AText, int AMeasure, int AWidth) {
    TFontMeasure& Measure = *FMeasures[AMeasure];
    // The summed advances ignore kerning, which only narrows a line, so a
    // text whose sum fits certainly fits.
    const double Quick = Measure.QuickWidth(AText);
    if (Quick >= 0 && Quick <= AWidth)
        return Measure.LineHeight;
    const TKey Key{AText, AMeasure, AWidth};
    const auto Found = FCache.constFind(Key);
    if (Found != FCache.constEnd())
        return *Found;
    int Height = Measure.LineHeight;
    if (AText.contains(QLatin1Char('\n')) || Measure.Metrics.horizontalAdvance(AText) > AWidth) {
        if (!FDevice)
            FDevice = std::make_unique<TLayoutDevice>();
        FDevice->Painter.setFont(Measure.Font);
        const QRectF Box = FDevice->Painter.boundingRect(
            QRectF(0, 0, std::max(AWidth, 1), 1e6), LayoutText(AText), TextOption(Qt::AlignLeft));
        Height = std::max(Height, static_cast<int>(std::ceil(Box.height())));
    }
    FCache.insert(Key, Height);
    return Height;
}

int TCellRowFitter::CellMeasure(const TCell& ACell) {
    const size_t Slot = static_cast<size_t>(ACell.Font) * 2 + (ACell.IsBold() ? 1 : 0);
    if (Slot >= FCellMeasures.size())
        FCellMeasures.resize(Slot + 1, -1);
    if (FCellMeasures[Slot] < 0)
        FCellMeasures[Slot] = MeasureIndex(FSheet.CellFont(ACell));
    return FCellMeasures[Slot];
}

int TCellRowFitter::MeasureIndex(const QFont& AFont) {
    for (size_t Index = 0; Index < FMeasures.size(); ++Index)
        if (FMeasures[Index]->Font == AFont)
            return static_cast<int>(Index);
    FMeasures.push_back(std::make_unique<TFontMeasure>(AFont));
    return static_cast<int>(FMeasures.size()) - 1;
}
