#include "TPrintedCell.h"

#include "ReportCodes.h"
#include "TAmountCells.h"
#include "cell/TCell.h"
#include "cell/TCellDocument.h"

#include <QRegularExpression>

namespace {

bool Hidden(const TCellDocument& AGrid, int ACol, int ARow) {
    const TCellRange* Merge = AGrid.Sheet().MergeAt(ACol, ARow);
    return Merge != nullptr && (Merge->FirstCol != ACol || Merge->FirstRow != ARow);
}

// "1,234.57" or "-0.16": the texts amounts are shown as.
double TextAmount(const QString& AText) {
    static const QRegularExpression Shape(QStringLiteral("^-?\\d{1,3}(,\\d{3})*\\.\\d{2}$"));
    if (!Shape.match(AText).hasMatch())
        return 0;
    return QString(AText).remove(QLatin1Char(',')).toDouble();
}

} // namespace

double TPrintedCell::Amount(const TCellDocument& AGrid, int ACol, int ARow) {
    const TCell* Cell = AGrid.Sheet().Cell(ACol, ARow);
    if (Cell == nullptr || Hidden(AGrid, ACol, ARow))
        return 0;
    if (Cell->Kind == TCell::TKind::Number)
        return Cell->Number;
    return Cell->Kind == TCell::TKind::Text ? TextAmount(Cell->Text) : 0;
}

bool TPrintedCell::Covered(const TCellDocument& AGrid, int ACol, int ARow) {
    return Hidden(AGrid, ACol, ARow) ||
           AGrid.CellText(ACol, ARow) == QString::fromUtf8(FormerChannelNote);
}

double TPrintedCell::Shown(double AAmount, bool ANumbersAsValues) {
    const double Written = TAmountCells::Written(AAmount);
    return ANumbersAsValues ? Written : TextAmount(TCell::FormatNumber(Written));
}
