#include "SettingsFiles.h"

TempConfigHome::TempConfigHome()
    : FOld(qgetenv("XDG_CONFIG_HOME"))
    , FHadOld(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", FDir.Path().toLocal8Bit());
}

TempConfigHome::~TempConfigHome() {
    if (FHadOld)
        qputenv("XDG_CONFIG_HOME", FOld);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

StoragePtr IniStorage(const QString& AFileName) {
    StoragePtr Storage(new TAppDataStorage());
    Storage->SetIniFileName(AFileName);
    return Storage;
}
