#include "TBatchHost.h"

#include "hostcontext/HostContext.h"
#include "platform/data/TDbManager.h"

TBatchHost::TBatchHost(const TBatchOptions& AOptions)
    : FDbManager(std::make_unique<TDbManager>()) {
    FSysParams.Params = {QStringLiteral("11=") + AOptions.TemplateFolder};
    FSysOptions.DefBTypeIndex = AOptions.DefBTypeIndex;
    FSysOptions.DeptModeFlag = AOptions.DeptModeFlag;
    // Positions 0 (unit code) and 4 (department class) are what the report
    // reads.
    FCurUnit.Values = {AOptions.UnitCode, QVariant(), QVariant(), QVariant(), AOptions.UnitClass};
    FDbManager->SetLoginPrompt(false);
    FDbManager->SetConnectionString(AOptions.ConnectionString);
    FContext.DataYear = AOptions.DataYear;
    FContext.DbManager = FDbManager.get();
    FContext.SysParams = &FSysParams;
    FContext.SysOptions = &FSysOptions;
    FContext.CurUnit = &FCurUnit;
    FSaved = HostContext;
    HostContext = &FContext;
}

TBatchHost::~TBatchHost() {
    HostContext = FSaved;
    // The registry frees the connections it made through the component
    // protocol, which tells their users first.
    FDbManager.release()->Free();
}
