#include "ExportSettings.h"

#include "hostcontext/HostContext.h"
#include "storage/TAppDataStorage.h"

namespace {
constexpr int IniFileParam = 13;
constexpr int RegistryKeyParam = 14;
} // namespace

std::unique_ptr<TAppDataStorage> CreateSettingsStore(int AStorageChoice) {
    auto Store = std::make_unique<TAppDataStorage>(nullptr);
    const TSysParams* Params = HostContext ? HostContext->SysParams : nullptr;
    if (Params) {
        Store->SetIniFileName(Params->GetSysParam(IniFileParam));
        Store->SetRegSectionPath(Params->GetSysParam(RegistryKeyParam));
        Store->SetRegistryRoot(Params->RegRoot);
    }
    const TStorageType Kind = AStorageChoice != 0 ? TStorageType(AStorageChoice - 1)
                              : Params            ? Params->StorageKind
                                                  : stIniFile;
    Store->SetStorageType(Kind);
    return Store;
}

QString ReadSetting(const QString& ASection, const QString& AKey, int AStorageChoice) {
    const std::unique_ptr<TAppDataStorage> Store = CreateSettingsStore(AStorageChoice);
    const TDataSection* Section = Store->FindSection(ASection);
    return Section ? Section->ReadValue(AKey) : QString();
}

bool WriteSetting(const QString& ASection, const QString& AKey, const QString& AValue,
                  int AStorageChoice) {
    const std::unique_ptr<TAppDataStorage> Store = CreateSettingsStore(AStorageChoice);
    Store->WriteValue(ASection, AKey, AValue);
    return true;
}
