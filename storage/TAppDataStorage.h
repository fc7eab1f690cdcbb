#pragma once

#include "TDataSection.h"
#include "platform/TComponent.h"
#include "platform/TRegRoot.h"
#include "platform/TStorageType.h"

#include <QList>
#include <QMutex>
#include <QRecursiveMutex>
#include <memory>

class TSettingsStore;

// Named sections of text values, backed by an INI file or by a key of the
// per-user registry store. Every change of where it stores reads all sections
// into memory; reads are answered from memory; every write goes to memory
// and at once to the store. The sections are components owned by the
// storage.
//
// Locks: the section list has its own lock, each section its own; they are
// always taken list first. The storage's location fields have a third lock
// that is held only while they are read or written.
class TAppDataStorage : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QList<TDataSection*> DataSectionS READ DataSectionS)
    Q_PROPERTY(QString IniFileName READ IniFileName WRITE SetIniFileName)
    Q_PROPERTY(QString RegSectionPath READ RegSectionPath WRITE SetRegSectionPath)
    Q_PROPERTY(TRegRoot RegistryRoot READ RegistryRoot WRITE SetRegistryRoot)
    Q_PROPERTY(TStorageType StorageType READ StorageType WRITE SetStorageType)
public:
    Q_INVOKABLE explicit TAppDataStorage(TComponent* AOwner = nullptr);
    ~TAppDataStorage() override;

    // A copy of the section list held in memory, taken under its lock; it
    // reads nothing. The sections in it live until the next reload or the
    // storage's destruction.
    QList<TDataSection*> DataSectionS() const;
    QString IniFileName() const;
    QString RegSectionPath() const;
    TRegRoot RegistryRoot() const;
    TStorageType StorageType() const;

    // Each setter reloads when the value changes and the current storage
    // type depends on it.
    void SetIniFileName(const QString& AValue);
    void SetRegSectionPath(const QString& AValue);
    void SetRegistryRoot(TRegRoot AValue);
    // Refuses a type other than stIniFile and stRegistry, and stRegistry
    // while RegSectionPath is blank, with TExceptppDataStorage.
    void SetStorageType(TStorageType AValue);

    // Both read the store first when nothing has been read from it yet.
    // The section whose name equals ASectionName exactly, or nullptr.
    TDataSection* FindSection(const QString& ASectionName);
    // Stores the value, creating the section when needed.
    void WriteValue(const QString& ASectionName, const QString& AKey, const QString& AValue);
    // Reads every section afresh from the store.
    void Reload();
    // A new store object for one operation. For the INI type an empty
    // IniFileName becomes the default name first, and a missing file is
    // created empty.
    std::unique_ptr<TSettingsStore> OpenStore();

    // The INI file beside the running program's executable, named after it
    // with the extension ".INI".
    static QString DefaultIniFileName();

    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void EnsureLoaded();
    TDataSection* AddSection(const QString& ASectionName);
    TDataSection* SectionNamed(const QString& ASectionName) const;
    std::unique_ptr<TSettingsStore> OpenIniStore();
    std::unique_ptr<TSettingsStore> OpenRegistryStore() const;

    QString FIniFileName;
    QString FRegSectionPath;
    TRegRoot FRegistryRoot = Reg_Current_User;
    TStorageType FStorageType = stIniFile;
    QList<TDataSection*> FSections;
    bool FLoaded = false;
    // Recursive: a section freed while the list is locked tells the storage,
    // which then drops it from the list.
    mutable QRecursiveMutex FSectionsLock;
    mutable QMutex FLocationLock;
};
