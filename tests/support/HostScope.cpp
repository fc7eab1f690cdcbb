#include "HostScope.h"

#include "hostcontext/HostContext.h"
#include "support/TempDir.h"

THostScope::THostScope(const QString& AConnectionString)
    : Manager(std::make_unique<TDbManager>())
    , FSaved(HostContext) {
    Manager->SetConnectionString(AConnectionString);
    Manager->SetLoginPrompt(false);
    Context.DataYear = 2024;
    Context.DbManager = Manager.get();
    Context.SysOptions = &Options;
    Context.CurUnit = &Unit;
    Params.Params = {QStringLiteral("11=") + BinaryDir() + QStringLiteral("/templates/")};
    Context.SysParams = &Params;
    HostContext = &Context;
}

THostScope::~THostScope() {
    HostContext = FSaved;
    Manager.release()->Free();
}

void THostScope::SetUnit(const QVariant& ACode, const QString& ADeptModeFlag) {
    Unit.Values = {ACode, QStringLiteral("name"), QVariant(), QVariant(), 1};
    Options.DeptModeFlag = ADeptModeFlag;
}
