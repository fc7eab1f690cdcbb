#include "SettingsFiles.h"

StoragePtr IniStorage(const QString& AFileName) {
    StoragePtr Storage(new TAppDataStorage());
    Storage->SetIniFileName(AFileName);
    return Storage;
}
