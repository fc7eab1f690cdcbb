#pragma once

#include "TSettingsStore.h"
#include "platform/TRegRoot.h"

#include <memory>

class TIniFile;

// A per-user store of registry keys, seen the way an INI file is:
// sections are the subkeys of the opened key, values are named strings in a
// subkey.
//
// Each root key is one file, <config>/varnholt/registry/<ROOT NAME>.ini under
// the XDG configuration folder ($XDG_CONFIG_HOME, else ~/.config). A key is a
// section of that file named by its full path ("Software\Firm\App"); its
// subkeys are the sections whose path continues it. Key and value names are
// matched without regard to letter case, as in the registry. Files are
// written through TIniFile: atomically and under the process-wide lock.
//
// Until a key is open, reads find nothing and writes raise EInOutError, so
// a value is never silently dropped or written to the root.
class PLATFORM_EXPORT TRegistryStore : public TSettingsStore {
public:
    TRegistryStore();
    ~TRegistryStore() override;

    // Any value outside TRegRoot selects the current user's root.
    void SetRootKey(TRegRoot ARoot);
    TRegRoot RootKey() const { return FRoot; }
    // Name of the root key, e.g. "HKEY_CURRENT_USER".
    static QString RootKeyName(TRegRoot ARoot);
    // The folder that holds one file per root key.
    static QString StoreDirectory();
    QString FileName() const;

    // Opens the key path (components separated by '\'), creating it when
    // ACanCreate is set. False, and no key open, when the path is blank, the
    // key is missing and may not be created, or creating it failed.
    bool OpenKey(const QString& AKeyPath, bool ACanCreate);
    bool KeyExists(const QString& AKeyPath);
    bool HasOpenKey() const { return !FCurrentPath.isEmpty(); }
    const QString& CurrentPath() const { return FCurrentPath; }

    QStringList ReadSections() override;
    QStringList ReadSection(const QString& ASection) override;
    QString ReadString(const QString& ASection, const QString& AIdent,
                       const QString& ADefault = QString()) override;
    void WriteString(const QString& ASection, const QString& AIdent,
                     const QString& AValue) override;

private:
    static QString NormalizePath(const QString& AKeyPath);
    TIniFile& File();
    QString SubkeyPath(const QString& ASection) const;
    void MakeStoreDirectory() const;

    TRegRoot FRoot = Reg_Current_User;
    QString FCurrentPath;
    std::unique_ptr<TIniFile> FFile;
};
