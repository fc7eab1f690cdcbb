#include "TQueryColumns.h"

#include "platform/data/TADOQuery.h"

TQueryColumns::TQueryColumns(const TADOQuery& AQuery, const QStringList& ANames)
    : FQuery(AQuery) {
    FIndexes.reserve(size_t(ANames.size()));
    for (const QString& Name : ANames) {
        const int Index = AQuery.FieldIndex(Name);
        if (Index < 0)
            AQuery.FieldByName(Name); // raises the query's own "not found"
        FIndexes.push_back(Index);
    }
}

QString TQueryColumns::Text(int AColumn) const {
    return FQuery.Fields(FIndexes[size_t(AColumn)]).AsString();
}

double TQueryColumns::Amount(int AColumn) const {
    return FQuery.Fields(FIndexes[size_t(AColumn)]).AsFloat();
}
