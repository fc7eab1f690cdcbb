#include "TDbManager.h"

#include "TAdoConn.h"

TDbManager::TDbManager(TComponent* AOwner)
    : TComponent(AOwner) {}

TDbManager::~TDbManager() {
    // Each Free notifies this registry, which drops the entry and forgets
    // the connection, so the list shrinks as we go.
    while (!FCreated.isEmpty())
        FCreated.last()->Free();
    for (int I = FConnections.Count() - 1; I >= 0; --I) {
        if (auto* Conn = qobject_cast<TComponent*>(FConnections.GetObject(I)))
            Conn->RemoveFreeNotification(this);
    }
}

TAdoConn* TDbManager::GetConnection(const QString& AName) {
    const int Index = FConnections.IndexOf(AName);
    if (Index >= 0)
        return qobject_cast<TAdoConn*>(FConnections.GetObject(Index));
    TAdoConn* Conn = CreateConnection(nullptr);
    try {
        AddConnection(Conn, AName);
    } catch (...) {
        Conn->Free();
        throw;
    }
    FCreated.append(Conn);
    return Conn;
}

int TDbManager::IndexOfConnection(const QString& AName) const {
    return FConnections.IndexOf(AName);
}

TAdoConn* TDbManager::CreateConnection(TComponent* AOwner) {
    auto* Conn = new TAdoConn(AOwner);
    Conn->SetLoginPrompt(FLoginPrompt);
    Conn->SetConnectionString(FConnectionString);
    return Conn;
}

void TDbManager::AddConnection(TAdoConn* AConn, const QString& AName) {
    if (!AConn)
        throw EInvalidOperation(QStringLiteral("TDbManager.AddConnection: no connection"));
    if (IndexOfConnection(AName) >= 0)
        throw TExceptDbManager(QStringLiteral("一个名为%1的TAdoConn对象已经存在！").arg(AName));
    AConn->FreeNotification(this);
    FConnections.AddObject(AName, AConn);
}

void TDbManager::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != TOperation::opRemove || !AComponent)
        return;
    for (int I = FConnections.Count() - 1; I >= 0; --I) {
        if (FConnections.GetObject(I) == AComponent)
            FConnections.Delete(I);
    }
    FCreated.removeIf([AComponent](TAdoConn* AConn) { return AConn == AComponent; });
}
