#include "QueryLifetime.h"

#include "TARQuery.h"
#include "platform/data/TAdoConn.h"

void OpenQuery(TAdoConn* AConn, const QString& ASql, IARQueryPtr& AQuery) {
    AQuery.Clear();
    auto* Query = new TARQuery(nullptr);
    try {
        Query->SetSQLText(ASql);
        Query->SetConnection(AConn);
        Query->Open();
    } catch (...) {
        Query->Free();
        throw;
    }
    AQuery = IARQueryPtr(Query);
}

void ReleaseQuery(TARQuery* AQuery) {
    if (AQuery) {
        IARQueryPtr Transient(AQuery);
    }
}
