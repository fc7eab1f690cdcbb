#pragma once

#include "platform/Exception.h"

#include <QString>
#include <QStringList>

// A name that would break the store's structure (a line break in a value, an
// '=' in a key name, a blank section name, ...) is refused before anything is
// written, so one bad value can never corrupt the rest of the store.
VARNHOLT_DECLARE_EXCEPTION(PLATFORM_EXPORT, ESettingsError, Exception)

// Sections of named text values, the common view of an INI file and of a
// registry key. A store object is made for one operation and then dropped;
// it is never shared between threads. Section and value names are matched
// without regard to letter case.
class PLATFORM_EXPORT TSettingsStore {
public:
    TSettingsStore() = default;
    TSettingsStore(const TSettingsStore&) = delete;
    TSettingsStore& operator=(const TSettingsStore&) = delete;
    virtual ~TSettingsStore();

    // Section names in store order, each name once.
    virtual QStringList ReadSections() = 0;
    // Value names of one section in store order; empty when it is missing.
    virtual QStringList ReadSection(const QString& ASection) = 0;
    virtual QString ReadString(const QString& ASection, const QString& AIdent,
                               const QString& ADefault = QString()) = 0;
    // Reaches the disk before it returns; raises when it cannot.
    virtual void WriteString(const QString& ASection, const QString& AIdent,
                             const QString& AValue) = 0;
};
