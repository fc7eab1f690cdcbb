#include "TRowsByParent.h"

#include "platform/data/TADOQuery.h"

TRowsByParent::TRowsByParent(TADOQuery& AQuery, const QString& APidField)
    : FCount(AQuery.RecordCount()) {
    if (APidField.isEmpty())
        return;
    for (AQuery.First(); !AQuery.Eof(); AQuery.Next())
        FGroups[AQuery.FieldByName(APidField).AsString()].append(AQuery.RecNo());
}

QList<int> TRowsByParent::All() const {
    QList<int> Rows;
    Rows.reserve(FCount);
    for (int Row = 1; Row <= FCount; ++Row)
        Rows.append(Row);
    return Rows;
}
