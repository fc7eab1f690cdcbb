#include "HostDatabase.h"

#include "platform/data/TDbManager.h"

TDbManager* CreateDbManager(const QString& AConnectionString, QString& AError) {
    if (AConnectionString.trimmed().isEmpty()) {
        AError = QStringLiteral("没有指定数据库连接串（--connection），报表窗口将没有数据");
        return nullptr;
    }
    auto* Manager = new TDbManager(nullptr);
    Manager->SetConnectionString(AConnectionString);
    Manager->SetLoginPrompt(false);
    return Manager;
}

void FreeDbManager(TDbManager* AManager) {
    if (AManager)
        AManager->Free();
}
