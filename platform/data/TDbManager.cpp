#include "TDbManager.h"

#include "TAdoConn.h"

TDbManager::TDbManager(TComponent* AOwner)
    : TComponent(AOwner) {}

TDbManager::~TDbManager() {
    // Free has already told the connections about this registry and cut the
    // links both ways, so nothing reaches Notification from here on: forget
    // the list first, then free what this registry made.
    const QList<TAdoConn*> Created = std::exchange(FCreated, {});
    for (int I = FConnections.Count() - 1; I >= 0; --I) {
        QObject* Object = FConnections.GetObject(I);
        FConnections.Delete(I);
        if (auto* Conn = qobject_cast<TComponent*>(Object))
            Conn->RemoveFreeNotification(this);
    }
    for (TAdoConn* Conn : Created)
        Conn->Free();
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
        throw EInvalidOperation(QStringLiteral("TDbManager.AddConnection：没有给出连接"));
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
