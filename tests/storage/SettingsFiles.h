#pragma once

#include "storage/TAppDataStorage.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <QString>
#include <memory>

// Points the per-user configuration folder at a temporary folder for the
// life of the object, so registry tests never touch the real home.
class TempConfigHome {
public:
    TempConfigHome();
    ~TempConfigHome();
    QString Path() const { return FDir.Path(); }

private:
    TempDir FDir;
    QByteArray FOld;
    bool FHadOld;
};

// A settings store, freed as a component is.
struct StorageDeleter {
    void operator()(TAppDataStorage* AStorage) const { AStorage->Free(); }
};
using StoragePtr = std::unique_ptr<TAppDataStorage, StorageDeleter>;

// A store on the INI file AFileName.
StoragePtr IniStorage(const QString& AFileName);
