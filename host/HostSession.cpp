#include "HostSession.h"

#include "HostDatabase.h"
#include "HostPlugInManager.h"

HostSession::HostSession(const HostOptions& AOptions, HostPlugInManager* AManager,
                         TApplication* AApplication, TScreen* AScreen) {
    FillContext(AOptions);
    FInfo.PlugInId = AOptions.PlugInId;
    FRecord.HostContext = &FContext;
    FRecord.PlugInInfo = &FInfo;
    FRecord.PlugInManager = AManager;
    FRecord.Application = AApplication;
    FRecord.Screen = AScreen;
}

HostSession::~HostSession() {
    FreeDbManager(FDbManager);
}

void HostSession::FillContext(const HostOptions& AOptions) {
    FSysParams.Params = {
        QStringLiteral("11=") + AOptions.TemplateFolder,
        QStringLiteral("13=") + AOptions.SettingsIni,
        QStringLiteral("14=") + AOptions.SettingsRegistryKey,
    };
    FSysParams.RegRoot = static_cast<TRegRoot>(AOptions.RegRoot);
    FSysParams.StorageKind = static_cast<TStorageType>(AOptions.StorageKind);
    FSysOptions.DefBTypeIndex = AOptions.DefBTypeIndex;
    FSysOptions.DeptModeFlag = AOptions.DeptModeFlag;
    // Positions 0 (unit code) and 4 (department class) are what the plug-in
    // reads; the others stand for the host's own values.
    FCurUnit.Values = {AOptions.UnitCode, QVariant(), QVariant(), QVariant(), AOptions.UnitClass};
    FDbManager = CreateDbManager(AOptions.ConnectionString, FDatabaseError);
    FContext.DataYear = AOptions.DataYear;
    FContext.DbManager = FDbManager;
    FContext.SysParams = &FSysParams;
    FContext.SysOptions = &FSysOptions;
    FContext.CurUnit = &FCurUnit;
}
