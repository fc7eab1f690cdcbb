#pragma once

#include <QString>
#include <memory>

class TAppDataStorage;

// The export preferences live in the host's settings store, reached anew
// for every single read or write.

// The section of the export preferences.
inline constexpr const char ExportSettingsSection[] = "bwnCorrandel";

// A store on the host's INI file (system parameter 13) and registry key
// (system parameter 14): AStorageChoice 1 is the INI file, 2 the registry,
// 0 whatever the host's parameters choose.
std::unique_ptr<TAppDataStorage> CreateSettingsStore(int AStorageChoice);
// The value, or empty text when the section or the key is absent.
QString ReadSetting(const QString& ASection, const QString& AKey, int AStorageChoice);
// Stores the value at once; always true (a store that cannot be written
// raises).
bool WriteSetting(const QString& ASection, const QString& AKey, const QString& AValue,
                  int AStorageChoice);
