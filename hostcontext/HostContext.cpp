#include "HostContext.h"

#include "TThreadConnection.h"

#include "platform/Exception.h"
#include "platform/data/TDbManager.h"

TPlugInHostRecord* HostRecord = nullptr;
THostContext* HostContext = nullptr;
TPlugInInfo* PlugInInfo = nullptr;

TAdoConn* GetDefConnection() {
    if (TAdoConn* Own = TThreadConnection::Current())
        return Own;
    if (!HostContext || !HostContext->DbManager)
        throw EDatabaseError(QStringLiteral("主程序没有给出数据库连接（没有连接串）"));
    return HostContext->DbManager->GetConnection(QStringLiteral("Def"));
}
