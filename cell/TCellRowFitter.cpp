#include "TCellRowFitter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>
#include <cstring>

// A painter on a tiny image: it lays text out the way painting does.
struct TCellRowFitter::TLayoutDevice {
    TLayoutDevice()
        : Image(1, 1, QImage::Format_RGB32)
        , Painter(&Image) {}
    QImage Image;
    QPainter Painter;
};

// What is known about one font: its metrics and the advances of the
// characters met so far (negative: not yet measured), with their overhangs:
// how far a character's ink reaches beyond its advance ('f'). A layout
// counts the overhang of the last character on a line, so the fitting does.
struct TCellRowFitter::TFontMeasure {
    explicit TFontMeasure(const QFont& AFont)
        : Font(AFont)
        , Metrics(AFont)
        , LineHeight(static_cast<int>(std::ceil(Metrics.height())))
        , Advances(65536, -1.0f)
        , Overhangs(65536, 0.0f) {}

    // An upper estimate of the text's width on one line, or a negative
    // value when the text holds characters that cannot be summed alone.
    double QuickWidth(const QString& AText) {
        double Width = 0;
        for (const QChar Char : AText) {
            if (Char.isSurrogate() || Char.isMark() || Char == QLatin1Char('\n'))
                return -1;
            float& Advance = Advances[Char.unicode()];
            if (Advance < 0) {
                Advance = static_cast<float>(Metrics.horizontalAdvance(Char));
                Overhangs[Char.unicode()] =
                    static_cast<float>(std::max(0.0, -Metrics.rightBearing(Char)));
            }
            Width += Advance;
        }
        return AText.isEmpty() ? Width : Width + Overhangs[AText.back().unicode()];
    }

    // The number of lines the text takes wrapped in AWidth, found from the
    // advances and the line-break opportunities the way a layout wraps
    // (at the last opportunity that fits, anywhere inside a part too long
    // for a line, trailing blanks not counted); -1 when QuickWidth cannot
    // sum the text. Shaping a text costs far more, and ideographs, which
    // fill these tables, have no kerning: the count is the layout's.
    int WrappedLines(const QString& AText, double AWidth) {
        QTextBoundaryFinder Breaks(QTextBoundaryFinder::Line, AText);
        int Lines = 1;
        double Used = 0;
        qsizetype Start = 0;
        for (qsizetype End = Breaks.toNextBoundary(); End > 0; End = Breaks.toNextBoundary()) {
            double Ink = 0;
            double Full = 0;
            for (qsizetype I = Start; I < End; ++I) {
                Full += Advances[AText[I].unicode()];
                if (!AText[I].isSpace())
                    Ink = Full + Overhangs[AText[I].unicode()];
            }
            if (Used + Ink > AWidth) {
                if (Used > 0)
                    ++Lines;
                Used = 0;
                if (Ink > AWidth)
                    Used = BreakAnywhere(AText, Start, End, AWidth, Lines);
                else
                    Used = Full;
            } else {
                Used += Full;
            }
            Start = End;
        }
        return Lines;
    }

    // Lays out a part too long for any line character by character; returns
    // the width used on its last line.
    double BreakAnywhere(const QString& AText, qsizetype AStart, qsizetype AEnd, double AWidth,
                         int& ALines) {
        double Used = 0;
        for (qsizetype I = AStart; I < AEnd; ++I) {
            const double Advance = Advances[AText[I].unicode()];
            const double Ink = Advance + Overhangs[AText[I].unicode()];
            if (Used > 0 && Used + Ink > AWidth && !AText[I].isSpace()) {
                ++ALines;
                Used = 0;
            }
            Used += Advance;
        }
        return Used;
    }

    QFont Font;
    QFontMetricsF Metrics;
    int LineHeight;
    // A laid-out line's height and the step between lines, as painting
    // lays them out (both rounded there); 0 until measured.
    double FirstLine = 0;
    double LinePitch = 0;
    std::vector<float> Advances;
    std::vector<float> Overhangs;
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

bool TCellRowFitter::IsCode(const QString& AText) {
    bool Digit = false;
    for (const QChar Char : AText) {
        const char16_t Code = Char.unicode();
        const bool Letter = (Code >= 'A' && Code <= 'Z') || (Code >= 'a' && Code <= 'z');
        const bool Sign =
            Code > 0 && Code < 0x80 && std::strchr(".,-_/+%*#()", static_cast<char>(Code));
        if (Code >= '0' && Code <= '9')
            Digit = true;
        else if (!Letter && !Sign)
            return false;
    }
    return Digit;
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
    const int Measure = CellMeasure(*Cell);
    if (IsCode(Text))
        return FMeasures[Measure]->LineHeight + 2 * PaddingY;
    return Height(Text, Measure, Width - 2 * PaddingX) + 2 * PaddingY;
}

int TCellRowFitter::TextHeight(const QString& AText, const QFont& AFont, int AWidth) {
    return Height(AText, MeasureIndex(AFont), AWidth);
}

int TCellRowFitter::LineHeight(const QFont& AFont) {
    return FMeasures[MeasureIndex(AFont)]->LineHeight;
}

double TCellRowFitter::LineWidth(const QString& AText, const QFont& AFont) {
    return FMeasures[MeasureIndex(AFont)]->QuickWidth(AText);
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
    const int Lines = Quick >= 0 ? Measure.WrappedLines(AText, std::max(AWidth, 1)) : -1;
    if (Lines > 0) {
        if (Measure.LinePitch <= 0)
            MeasureLines(Measure);
        const double Box = Measure.FirstLine + (Lines - 1) * Measure.LinePitch;
        Height = std::max(Height, static_cast<int>(std::ceil(Box)));
    } else if (AText.contains(QLatin1Char('\n')) ||
               Measure.Metrics.horizontalAdvance(AText) > AWidth) {
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

void TCellRowFitter::MeasureLines(TFontMeasure& AMeasure) {
    if (!FDevice)
        FDevice = std::make_unique<TLayoutDevice>();
    FDevice->Painter.setFont(AMeasure.Font);
    const auto Box = [&](const QString& AText) {
        return FDevice->Painter
            .boundingRect(QRectF(0, 0, 1e6, 1e6), AText, TextOption(Qt::AlignLeft))
            .height();
    };
    const QString Line = QStringLiteral("国");
    AMeasure.FirstLine = Box(Line);
    AMeasure.LinePitch = Box(Line + QChar::LineSeparator + Line) - AMeasure.FirstLine;
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
