#include "TDataSection.h"

#include "StorageExceptions.h"
#include "TAppDataStorage.h"
#include "platform/settings/TSettingsStore.h"

#include <QMutexLocker>

TDataSection::TDataSection(TComponent* AOwner)
    : TComponent(AOwner)
    , FStorage(qobject_cast<TAppDataStorage*>(AOwner)) {}

TDataSection::~TDataSection() = default;

TAppDataStorage* TDataSection::Storage() const {
    QMutexLocker Lock(&FLock);
    return FStorage;
}

void TDataSection::SetStorage(TAppDataStorage* AStorage) {
    QMutexLocker Lock(&FLock);
    FStorage = AStorage;
}

QString TDataSection::SectionName() const {
    QMutexLocker Lock(&FLock);
    return FSectionName;
}

void TDataSection::SetSectionName(const QString& AName) {
    QMutexLocker Lock(&FLock);
    FSectionName = AName;
}

QStringList TDataSection::Keys() const {
    QMutexLocker Lock(&FLock);
    return FKeys;
}

QString TDataSection::ReadValue(const QString& AKey) const {
    QMutexLocker Lock(&FLock);
    const int Index = IndexOfKey(AKey);
    return Index < 0 ? QString() : FValues.at(Index);
}

void TDataSection::SetValue(const QString& AKey, const QString& AValue) {
    QMutexLocker Lock(&FLock);
    // A section without a name would be written as one the store cannot
    // read back, so it is refused like a load of it would be.
    CheckSectionName();
    const int Index = IndexOfKey(AKey);
    OpenStore()->WriteString(FSectionName, Index < 0 ? AKey : FKeys.at(Index), AValue);
    if (Index < 0) {
        FKeys.append(AKey);
        FValues.append(AValue);
    } else {
        FValues[Index] = AValue;
    }
}

void TDataSection::Load() {
    // One store object for the whole section gives one consistent view of it.
    QMutexLocker Lock(&FLock);
    CheckSectionName();
    LoadFrom(*OpenStore());
}

void TDataSection::Load(TSettingsStore& AStore) {
    QMutexLocker Lock(&FLock);
    CheckSectionName();
    LoadFrom(AStore);
}

void TDataSection::LoadFrom(TSettingsStore& AStore) {
    const QStringList Keys = AStore.ReadSection(FSectionName);
    QStringList Values;
    for (const QString& Key : Keys)
        Values.append(AStore.ReadString(FSectionName, Key));
    FKeys = Keys;
    FValues = Values;
}

int TDataSection::IndexOfKey(const QString& AKey) const {
    for (int I = 0; I < FKeys.size(); ++I) {
        if (QString::compare(FKeys.at(I), AKey, Qt::CaseInsensitive) == 0)
            return I;
    }
    return -1;
}

void TDataSection::CheckSectionName() const {
    if (FSectionName.trimmed().isEmpty())
        throw TDataSecExcept(QStringLiteral("没有指定存储节的名称！"));
}

std::unique_ptr<TSettingsStore> TDataSection::OpenStore() const {
    TAppDataStorage* Storage = FStorage;
    if (!Storage)
        throw EStringListError(QStringLiteral("没有指定存储节的父对象！"));
    return Storage->OpenStore();
}
