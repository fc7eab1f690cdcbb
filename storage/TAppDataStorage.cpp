#include "TAppDataStorage.h"

#include "StorageExceptions.h"
#include "platform/settings/TIniFile.h"
#include "platform/settings/TRegistryStore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutexLocker>

namespace {

const char* const NoPathMessage = "没有指定存储节的路径,不能变更数据存储方式！";

bool IsKnownStorageType(TStorageType AType) {
    return AType == stIniFile || AType == stRegistry;
}

TExceptppDataStorage UnknownStorageType(TStorageType AType) {
    return TExceptppDataStorage(
        QStringLiteral("不支持的数据存储方式%1,不能变更数据存储方式！").arg(int(AType)));
}

} // namespace

TAppDataStorage::TAppDataStorage(TComponent* AOwner)
    : TComponent(AOwner) {}

// The sections are owned components: the base destructor frees them. Only
// the list is dropped here.
TAppDataStorage::~TAppDataStorage() {
    QMutexLocker Lock(&FSectionsLock);
    FSections.clear();
}

QList<TDataSection*> TAppDataStorage::DataSectionS() const {
    QMutexLocker Lock(&FSectionsLock);
    return FSections;
}

QString TAppDataStorage::IniFileName() const {
    QMutexLocker Lock(&FLocationLock);
    return FIniFileName;
}

QString TAppDataStorage::RegSectionPath() const {
    QMutexLocker Lock(&FLocationLock);
    return FRegSectionPath;
}

TRegRoot TAppDataStorage::RegistryRoot() const {
    QMutexLocker Lock(&FLocationLock);
    return FRegistryRoot;
}

TStorageType TAppDataStorage::StorageType() const {
    QMutexLocker Lock(&FLocationLock);
    return FStorageType;
}

void TAppDataStorage::SetIniFileName(const QString& AValue) {
    {
        QMutexLocker Lock(&FLocationLock);
        if (FIniFileName == AValue)
            return;
        FIniFileName = AValue;
        if (FStorageType != stIniFile)
            return;
    }
    Reload();
}

void TAppDataStorage::SetRegSectionPath(const QString& AValue) {
    {
        QMutexLocker Lock(&FLocationLock);
        if (FRegSectionPath == AValue)
            return;
        FRegSectionPath = AValue;
        if (FStorageType != stRegistry)
            return;
    }
    Reload();
}

void TAppDataStorage::SetRegistryRoot(TRegRoot AValue) {
    {
        QMutexLocker Lock(&FLocationLock);
        if (FRegistryRoot == AValue)
            return;
        FRegistryRoot = AValue;
        if (FStorageType != stRegistry)
            return;
    }
    Reload();
}

void TAppDataStorage::SetStorageType(TStorageType AValue) {
    {
        QMutexLocker Lock(&FLocationLock);
        if (FStorageType == AValue)
            return;
        // A type that names no store would keep every value in memory only
        // and lose what the user saved without a word.
        if (!IsKnownStorageType(AValue))
            throw UnknownStorageType(AValue);
        if (AValue == stRegistry && FRegSectionPath.trimmed().isEmpty())
            throw TExceptppDataStorage(QString::fromUtf8(NoPathMessage));
        FStorageType = AValue;
    }
    Reload();
}

TDataSection* TAppDataStorage::FindSection(const QString& ASectionName) {
    QMutexLocker Lock(&FSectionsLock);
    EnsureLoaded();
    return SectionNamed(ASectionName);
}

void TAppDataStorage::WriteValue(const QString& ASectionName, const QString& AKey,
                                 const QString& AValue) {
    QMutexLocker Lock(&FSectionsLock);
    EnsureLoaded();
    TDataSection* Section = SectionNamed(ASectionName);
    TDataSection* Created = Section ? nullptr : (Section = AddSection(ASectionName));
    try {
        Section->SetValue(AKey, AValue);
    } catch (...) {
        // A section that never reached the store is not kept in memory.
        if (Created)
            Created->Free();
        throw;
    }
}

void TAppDataStorage::Reload() {
    QMutexLocker Lock(&FSectionsLock);
    FLoaded = false; // a failed reload is tried again by the next lookup
    const QList<TDataSection*> Old = std::exchange(FSections, {});
    for (auto It = Old.crbegin(); It != Old.crend(); ++It)
        (*It)->Free();
    // One store object for the whole reload: the file is read and parsed
    // once, however many sections it holds.
    const std::unique_ptr<TSettingsStore> Store = OpenStore();
    const QStringList Names = Store->ReadSections();
    for (const QString& Name : Names)
        AddSection(Name)->Load(*Store);
    FLoaded = true;
}

std::unique_ptr<TSettingsStore> TAppDataStorage::OpenStore() {
    const TStorageType Type = StorageType();
    switch (Type) {
    case stIniFile:
        return OpenIniStore();
    case stRegistry:
        return OpenRegistryStore();
    }
    throw UnknownStorageType(Type);
}

QString TAppDataStorage::DefaultIniFileName() {
    const QFileInfo Program(QCoreApplication::applicationFilePath());
    if (Program.fileName().isEmpty())
        throw EInOutError(QStringLiteral("无法确定运行程序的文件名"));
    const QString Name = Program.fileName();
    const qsizetype Dot = Name.lastIndexOf(QLatin1Char('.'));
    return Program.absolutePath() + QLatin1Char('/') + (Dot < 0 ? Name : Name.left(Dot)) +
           QStringLiteral(".INI");
}

void TAppDataStorage::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != TOperation::opRemove)
        return;
    // A section freed by someone else must not stay behind in the list.
    QMutexLocker Lock(&FSectionsLock);
    FSections.removeIf([AComponent](TDataSection* ASection) { return ASection == AComponent; });
}

// Reloads happen when the location changes. A storage whose location is never
// changed from its start (an empty INI name meaning the default file) would
// otherwise answer every read with nothing, and a caller that writes a
// default for a missing value would overwrite what the user saved.
void TAppDataStorage::EnsureLoaded() {
    if (!FLoaded)
        Reload();
}

TDataSection* TAppDataStorage::AddSection(const QString& ASectionName) {
    auto* Section = new TDataSection(this);
    FSections.append(Section);
    Section->SetSectionName(ASectionName);
    return Section;
}

TDataSection* TAppDataStorage::SectionNamed(const QString& ASectionName) const {
    for (TDataSection* Section : FSections) {
        if (Section->SectionName() == ASectionName)
            return Section;
    }
    return nullptr;
}

std::unique_ptr<TSettingsStore> TAppDataStorage::OpenIniStore() {
    QString FileName;
    {
        QMutexLocker Lock(&FLocationLock);
        if (FIniFileName.isEmpty())
            FIniFileName = DefaultIniFileName();
        FileName = FIniFileName;
    }
    auto Store = std::make_unique<TIniFile>(FileName);
    Store->CreateIfMissing();
    return Store;
}

std::unique_ptr<TSettingsStore> TAppDataStorage::OpenRegistryStore() const {
    auto Store = std::make_unique<TRegistryStore>();
    Store->SetRootKey(RegistryRoot());
    // When the key cannot be opened the store reads as empty and refuses
    // writes with an error, so nothing is lost silently.
    Store->OpenKey(RegSectionPath(), true);
    return Store;
}
