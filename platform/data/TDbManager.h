#pragma once

#include "platform/Exception.h"
#include "platform/TComponent.h"
#include "platform/TObjectStringList.h"

#include <QList>

class TAdoConn;

VARNHOLT_DECLARE_EXCEPTION(PLATFORM_EXPORT, TExceptDbManager, Exception)

// The host's connection registry: connection names to TAdoConn objects.
// Connections it creates get the registry's LoginPrompt and connection
// string, are not opened, and stay registered while the registry lives; the
// registry frees those at its end. A registered connection freed by someone
// else drops out of the list.
class PLATFORM_EXPORT TDbManager : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TDbManager(TComponent* AOwner = nullptr);
    ~TDbManager() override;

    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool ALoginPrompt) { FLoginPrompt = ALoginPrompt; }
    TObjectStringList& Connections() { return FConnections; }
    const TObjectStringList& Connections() const { return FConnections; }
    QString ConnectionString() const { return FConnectionString; }
    void SetConnectionString(const QString& AConnectionString) {
        FConnectionString = AConnectionString;
    }

    // The connection registered under AName (letter case ignored), created
    // and registered on first request.
    TAdoConn* GetConnection(const QString& AName);
    int IndexOfConnection(const QString& AName) const;
    // A new, unregistered, unopened connection configured from the registry.
    TAdoConn* CreateConnection(TComponent* AOwner);
    // Raises TExceptDbManager when AName is taken; nothing is added then.
    void AddConnection(TAdoConn* AConn, const QString& AName);

    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool FLoginPrompt = false;
    TObjectStringList FConnections;
    QString FConnectionString;
    QList<TAdoConn*> FCreated;
};
