#include "TRegistryStore.h"

#include "TIniFile.h"

#include <QDir>
#include <QSet>
#include <QStandardPaths>

namespace {

const QChar KeySeparator = QLatin1Char('\\');

bool StartsWithKey(const QString& APath, const QString& AKey) {
    return APath.size() > AKey.size() && APath.at(AKey.size()) == KeySeparator &&
           APath.startsWith(AKey, Qt::CaseInsensitive);
}

} // namespace

TRegistryStore::TRegistryStore() = default;

TRegistryStore::~TRegistryStore() = default;

void TRegistryStore::SetRootKey(TRegRoot ARoot) {
    FRoot = ARoot <= Reg_Dyn_Data ? ARoot : Reg_Current_User;
    FCurrentPath.clear();
    FFile.reset();
}

QString TRegistryStore::RootKeyName(TRegRoot ARoot) {
    switch (ARoot) {
    case Reg_Local_Machine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case Reg_Current_Config:
        return QStringLiteral("HKEY_CURRENT_CONFIG");
    case Reg_Classes_Root:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case Reg_Users:
        return QStringLiteral("HKEY_USERS");
    case Reg_Dyn_Data:
        return QStringLiteral("HKEY_DYN_DATA");
    case Reg_Current_User:
        break;
    }
    return QStringLiteral("HKEY_CURRENT_USER");
}

QString TRegistryStore::StoreDirectory() {
    const QString Config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (Config.isEmpty())
        return QString();
    return Config + QStringLiteral("/varnholt/registry");
}

QString TRegistryStore::FileName() const {
    return StoreDirectory() + QLatin1Char('/') + RootKeyName(FRoot) + QStringLiteral(".ini");
}

bool TRegistryStore::OpenKey(const QString& AKeyPath, bool ACanCreate) {
    FCurrentPath.clear();
    const QString Path = NormalizePath(AKeyPath);
    if (Path.isEmpty())
        return false;
    try {
        if (!KeyExists(Path)) {
            if (!ACanCreate)
                return false;
            MakeStoreDirectory();
            File().AddSection(Path);
        }
    } catch (const Exception&) {
        return false;
    }
    FCurrentPath = Path;
    return true;
}

bool TRegistryStore::KeyExists(const QString& AKeyPath) {
    const QString Path = NormalizePath(AKeyPath);
    if (Path.isEmpty())
        return false;
    const QStringList Sections = File().ReadSections();
    for (const QString& Section : Sections) {
        const QString Key = NormalizePath(Section);
        if (QString::compare(Key, Path, Qt::CaseInsensitive) == 0 || StartsWithKey(Key, Path))
            return true;
    }
    return false;
}

QStringList TRegistryStore::ReadSections() {
    QStringList Subkeys;
    if (!HasOpenKey())
        return Subkeys;
    QSet<QString> Seen;
    const QStringList Sections = File().ReadSections();
    for (const QString& Section : Sections) {
        const QString Key = NormalizePath(Section);
        if (!StartsWithKey(Key, FCurrentPath))
            continue;
        const QString Subkey = Key.mid(FCurrentPath.size() + 1).section(KeySeparator, 0, 0);
        if (!Seen.contains(Subkey.toCaseFolded())) {
            Seen.insert(Subkey.toCaseFolded());
            Subkeys.append(Subkey);
        }
    }
    return Subkeys;
}

QStringList TRegistryStore::ReadSection(const QString& ASection) {
    if (!HasOpenKey() || NormalizePath(ASection).isEmpty())
        return QStringList();
    return File().ReadSection(SubkeyPath(ASection));
}

QString TRegistryStore::ReadString(const QString& ASection, const QString& AIdent,
                                   const QString& ADefault) {
    if (!HasOpenKey() || NormalizePath(ASection).isEmpty())
        return ADefault;
    return File().ReadString(SubkeyPath(ASection), AIdent, ADefault);
}

void TRegistryStore::WriteString(const QString& ASection, const QString& AIdent,
                                 const QString& AValue) {
    if (!HasOpenKey())
        throw EInOutError(QStringLiteral("没有打开注册表键，不能写入%1").arg(ASection));
    if (NormalizePath(ASection).isEmpty())
        throw ESettingsError(QStringLiteral("注册表子键名“%1”无效").arg(ASection));
    MakeStoreDirectory();
    File().WriteString(SubkeyPath(ASection), AIdent, AValue);
}

// Blanks around a key name are dropped, as the INI file drops them around a
// section name; empty components ("a\\b", a leading '\\') are ignored.
QString TRegistryStore::NormalizePath(const QString& AKeyPath) {
    QStringList Parts;
    for (const QString& Part : AKeyPath.split(KeySeparator)) {
        if (!Part.trimmed().isEmpty())
            Parts.append(Part.trimmed());
    }
    return Parts.join(KeySeparator);
}

TIniFile& TRegistryStore::File() {
    if (!FFile)
        FFile = std::make_unique<TIniFile>(FileName());
    return *FFile;
}

QString TRegistryStore::SubkeyPath(const QString& ASection) const {
    return FCurrentPath + KeySeparator + NormalizePath(ASection);
}

void TRegistryStore::MakeStoreDirectory() const {
    const QString Folder = StoreDirectory();
    if (Folder.isEmpty() || !QDir().mkpath(Folder))
        throw EInOutError(QStringLiteral("无法创建设置文件夹%1").arg(Folder));
}
