#include "TCell.h"

#include <QLocale>
#include <cmath>

void TCell::SetEdge(int AEdge, int ALine) {
    if (AEdge < 0 || AEdge > 3)
        return;
    const int Shift = AEdge * 2;
    const int Line = ALine < 0 ? 0 : (ALine > 2 ? 2 : ALine);
    Borders = static_cast<std::uint8_t>((Borders & ~(3 << Shift)) | (Line << Shift));
}

QString TCell::DisplayText() const {
    switch (Kind) {
    case TKind::Text:
        return Text;
    case TKind::Number:
        return FormatNumber(Number);
    case TKind::Empty:
        break;
    }
    return {};
}

QString TCell::FormatNumber(double ANumber) {
    // Grouping by thousands with a point for decimals, whatever the user's
    // locale: the amounts must read the same on every clerk's machine.
    static const QLocale Format(QLocale::English, QLocale::UnitedStates);
    // Rounded half away from zero as the decimal amount reads (0.015 shows
    // 0.02, as in the workbook), and a value that rounds to zero shows 0.00,
    // never -0.00.
    const double Scaled = ANumber * 100.0;
    double Cents = std::round(Scaled + std::copysign(1e-7, Scaled));
    if (Cents == 0.0)
        Cents = 0.0;
    return Format.toString(Cents / 100.0, 'f', 2);
}

int TCell::HorizontalAlign() const {
    const int Horizontal = Align & (AlignLeft | AlignRight | AlignCentre);
    if (Horizontal & AlignCentre)
        return AlignCentre;
    if (Horizontal & AlignRight)
        return AlignRight;
    if (Horizontal & AlignLeft)
        return AlignLeft;
    return Kind == TKind::Number ? AlignRight : AlignLeft;
}

int TCell::VerticalAlign() const {
    if (Align & AlignMiddle)
        return AlignMiddle;
    if (Align & AlignTop)
        return AlignTop;
    if (Align & AlignBottom)
        return AlignBottom;
    return AlignMiddle;
}
