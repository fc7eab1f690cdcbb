#include "HostDatabase.h"

TDbManager* CreateDbManager(const QString& AConnectionString, QString& AError) {
    Q_UNUSED(AConnectionString);
    AError = QStringLiteral("数据库连接尚未提供");
    return nullptr;
}

void FreeDbManager(TDbManager*) {}
