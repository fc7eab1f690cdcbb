#pragma once

#include "platform/TComponent.h"

#include <QMutex>
#include <QPointer>
#include <QStringList>
#include <memory>

class TAppDataStorage;
class TSettingsStore;

// One named section of text values of a TAppDataStorage, held in memory.
// Reads are answered from memory; a change goes to the backing store at once.
// Key lookups ignore letter case and keep the spelling first stored. Every
// operation holds the section's own lock.
class TDataSection : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString SectionName READ SectionName WRITE SetSectionName)
public:
    // An owner that is a TAppDataStorage also becomes the section's storage.
    Q_INVOKABLE explicit TDataSection(TComponent* AOwner = nullptr);
    ~TDataSection() override;

    TAppDataStorage* Storage() const;
    void SetStorage(TAppDataStorage* AStorage);
    QString SectionName() const;
    void SetSectionName(const QString& AName);
    QStringList Keys() const;

    // The value held in memory, or empty text when the key is absent.
    QString ReadValue(const QString& AKey) const;
    // Writes to the store first and changes memory only when that worked, so
    // memory never shows a value that the store does not hold.
    void SetValue(const QString& AKey, const QString& AValue);
    // Replaces the keys and values held with those of the store.
    void Load();
    // The same from a store the caller has open: a reload reads every
    // section from one store object, so the file is read and parsed once.
    void Load(TSettingsStore& AStore);

private:
    int IndexOfKey(const QString& AKey) const;
    // Load's work, with the section's lock held.
    void LoadFrom(TSettingsStore& AStore);
    void CheckSectionName() const;
    std::unique_ptr<TSettingsStore> OpenStore() const;

    mutable QMutex FLock;
    QStringList FKeys;
    QStringList FValues;
    QPointer<TAppDataStorage> FStorage;
    QString FSectionName;
};
