#include "WorkbookCells.h"

#include "cell/TCellDocument.h"
#include "support/CellFixture.h"

#include <QStringList>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace {

// "AB12" as (28, 12).
QPair<int, int> CellPosition(const QString& ARef) {
    int Col = 0;
    int I = 0;
    for (; I < ARef.size() && ARef[I].isLetter(); ++I)
        Col = Col * 26 + (ARef[I].unicode() - 'A' + 1);
    return {Col, ARef.mid(I).toInt()};
}

QStringList SharedStrings(const QString& AFile) {
    QStringList Strings;
    QXmlStreamReader Xml(ZipMember(AFile, QStringLiteral("xl/sharedStrings.xml")));
    while (!Xml.atEnd()) {
        if (Xml.readNext() == QXmlStreamReader::StartElement && Xml.name() == QStringLiteral("t"))
            Strings << Xml.readElementText();
    }
    return Strings;
}

} // namespace

TWorkbookCells ReadWorkbookCells(const QString& AFile) {
    const QStringList Strings = SharedStrings(AFile);
    TWorkbookCells Cells;
    QXmlStreamReader Xml(ZipMember(AFile, QStringLiteral("xl/worksheets/sheet1.xml")));
    QPair<int, int> At;
    QString Type;
    while (!Xml.atEnd()) {
        if (Xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (Xml.name() == QStringLiteral("c")) {
            At = CellPosition(Xml.attributes().value(QStringLiteral("r")).toString());
            Type = Xml.attributes().value(QStringLiteral("t")).toString();
        } else if (Xml.name() == QStringLiteral("v")) {
            const QString Value = Xml.readElementText();
            Cells[At] = Type == QStringLiteral("s") ? QVariant(Strings.value(Value.toInt()))
                                                    : QVariant(Value.toDouble());
        } else if (Xml.name() == QStringLiteral("t")) {
            Cells[At] = Xml.readElementText();
        }
    }
    return Cells;
}

TWorkbookCells GridCells(const TCellDocument& AGrid) {
    TWorkbookCells Cells;
    const TCellSheet& Sheet = AGrid.Sheet();
    for (int Row = 1; Row < Sheet.RowCount(); ++Row) {
        for (int Col = 1; Col <= Sheet.ColCount(); ++Col) {
            const TCell* Cell = Sheet.Cell(Col, Row);
            const TCellRange* Merge = Sheet.MergeAt(Col, Row);
            // A merge shows its top-left cell only.
            if (!Cell || Cell->IsEmpty() ||
                (Merge && (Merge->FirstCol != Col || Merge->FirstRow != Row)))
                continue;
            Cells[{Col, Row}] =
                Cell->Kind == TCell::TKind::Number ? QVariant(Cell->Number) : QVariant(Cell->Text);
        }
    }
    return Cells;
}

QString FirstDifference(const TWorkbookCells& AActual, const TWorkbookCells& AExpected,
                        double ATolerance) {
    auto Keys = AActual.keys() + AExpected.keys();
    std::sort(Keys.begin(), Keys.end(), [](const auto& A, const auto& B) {
        return std::make_pair(A.second, A.first) < std::make_pair(B.second, B.first);
    });
    for (const auto& Key : Keys) {
        const QVariant A = AActual.value(Key);
        const QVariant B = AExpected.value(Key);
        const bool Numbers = A.typeId() == QMetaType::Double && B.typeId() == QMetaType::Double;
        // QVariant finds the number 5 equal to the text "5": types first.
        if (Numbers ? std::abs(A.toDouble() - B.toDouble()) <= ATolerance
                    : A.typeId() == B.typeId() && A == B)
            continue;
        return QStringLiteral("column %1 row %2: '%3' / '%4'")
            .arg(Key.first)
            .arg(Key.second)
            .arg(A.toString(), B.toString());
    }
    return QString();
}
