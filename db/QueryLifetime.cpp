#include "QueryLifetime.h"

#include "TARQuery.h"
#include "TStatementLog.h"
#include "platform/data/TAdoConn.h"

#include <QElapsedTimer>

void OpenQuery(TAdoConn* AConn, const QString& ASql, IARQueryPtr& AQuery) {
    AQuery.Clear();
    auto* Query = new TARQuery(nullptr);
    QElapsedTimer Timer;
    Timer.start();
    try {
        Query->SetSQLText(ASql);
        Query->SetConnection(AConn);
        Query->Open();
    } catch (...) {
        Query->Free();
        throw;
    }
    TStatementLog::Record(ASql, double(Timer.nsecsElapsed()) / 1e6);
    AQuery = IARQueryPtr(Query);
}

void ReleaseQuery(TARQuery* AQuery) {
    if (AQuery) {
        IARQueryPtr Transient(AQuery);
    }
}
