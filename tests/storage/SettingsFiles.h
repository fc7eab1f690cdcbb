#pragma once

#include "storage/TAppDataStorage.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <QString>
#include <memory>

// A settings store, freed as a component is.
struct StorageDeleter {
    void operator()(TAppDataStorage* AStorage) const { AStorage->Free(); }
};
using StoragePtr = std::unique_ptr<TAppDataStorage, StorageDeleter>;

// A store on the INI file AFileName.
StoragePtr IniStorage(const QString& AFileName);
