#include "UserSettings.h"

#include "hostcontext/HostContext.h"
#include "platform/Exception.h"
#include "storage/TAppDataStorage.h"

#include <memory>

namespace {

constexpr int RegistryKeyParam = 14;

std::unique_ptr<TAppDataStorage> UserStore() {
    const TSysParams* Params = HostContext ? HostContext->SysParams : nullptr;
    QString Key = Params ? Params->GetSysParam(RegistryKeyParam).trimmed() : QString();
    if (Key.isEmpty())
        Key = QStringLiteral("Software\\Varnholt");
    auto Store = std::make_unique<TAppDataStorage>(nullptr);
    Store->SetRegistryRoot(Reg_Current_User);
    Store->SetRegSectionPath(Key);
    Store->SetStorageType(stRegistry);
    return Store;
}

} // namespace

QString ReadUserSetting(const char* AKey) {
    try {
        const std::unique_ptr<TAppDataStorage> Store = UserStore();
        const TDataSection* Section = Store->FindSection(QString::fromUtf8(UserSettingsSection));
        return Section ? Section->ReadValue(QString::fromUtf8(AKey)) : QString();
    } catch (const Exception&) {
        // A width or a folder the window cannot recall is not worth stopping
        // the clerk for: the window's own default serves.
        return QString();
    }
}

void WriteUserSetting(const char* AKey, const QString& AValue) {
    UserStore()->WriteValue(QString::fromUtf8(UserSettingsSection), QString::fromUtf8(AKey),
                            AValue);
}
