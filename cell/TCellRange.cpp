#include "TCellRange.h"

#include <QRegularExpression>
#include <algorithm>

bool TCellRange::Intersects(const TCellRange& AOther) const {
    return FirstCol <= AOther.LastCol && AOther.FirstCol <= LastCol && FirstRow <= AOther.LastRow &&
           AOther.FirstRow <= LastRow;
}

bool TCellRange::operator==(const TCellRange& AOther) const {
    return FirstCol == AOther.FirstCol && FirstRow == AOther.FirstRow &&
           LastCol == AOther.LastCol && LastRow == AOther.LastRow;
}

TCellRange TCellRange::Normalised(int ACol1, int ARow1, int ACol2, int ARow2) {
    return {std::min(ACol1, ACol2), std::min(ARow1, ARow2), std::max(ACol1, ACol2),
            std::max(ARow1, ARow2)};
}

namespace {

// Column letters to a number, "A" = 1; 0 when out of any sensible range.
int ColumnNumber(const QString& ALetters) {
    int Result = 0;
    for (const QChar Letter : ALetters) {
        Result = Result * 26 + (Letter.unicode() - 'A' + 1);
        if (Result > 16384)
            return 0;
    }
    return Result;
}

} // namespace

std::optional<TCellRange> TCellRange::Parse(const QString& AText) {
    static const QRegularExpression Pattern(
        QStringLiteral("^([A-Z]{1,3})([1-9][0-9]{0,6})(?::([A-Z]{1,3})([1-9][0-9]{0,6}))?$"));
    const auto Match = Pattern.match(AText.trimmed().toUpper());
    if (!Match.hasMatch())
        return std::nullopt;
    const int Col1 = ColumnNumber(Match.captured(1));
    const int Row1 = Match.captured(2).toInt();
    const bool HasEnd = Match.lastCapturedIndex() >= 4;
    const int Col2 = HasEnd ? ColumnNumber(Match.captured(3)) : Col1;
    const int Row2 = HasEnd ? Match.captured(4).toInt() : Row1;
    if (Col1 == 0 || Col2 == 0)
        return std::nullopt;
    return Normalised(Col1, Row1, Col2, Row2);
}

QString TCellRange::ColumnName(int ACol) {
    QString Name;
    for (int Rest = ACol; Rest > 0; Rest = (Rest - 1) / 26)
        Name.prepend(QChar('A' + (Rest - 1) % 26));
    return Name;
}
