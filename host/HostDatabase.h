#pragma once

#include <QString>

class TDbManager;

// The host's connection registry, made from the connection string the host
// was given. Returns nullptr, with the reason in AError, when there is none.
TDbManager* CreateDbManager(const QString& AConnectionString, QString& AError);
void FreeDbManager(TDbManager* AManager);
