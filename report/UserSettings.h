#pragma once

#include <QString>

// What the report window remembers for the user who works with it (the
// unit tree's width, the folder last saved to): the per-user store, under
// the host's registry key (system parameter 14) or, when the host names
// none, "Software\Varnholt"; in the section "bwnCorrandel". They are
// conveniences: a store that cannot be read reads as empty.

inline constexpr const char UserSettingsSection[] = "bwnCorrandel";
inline constexpr const char UnitTreeWidthKey[] = "UnitTreeWidth";
inline constexpr const char SaveFolderKey[] = "SaveFolder";

// The value, or empty text when it is absent or the store cannot be read.
QString ReadUserSetting(const char* AKey);
// Stores the value at once; a store that cannot be written raises.
void WriteUserSetting(const char* AKey, const QString& AValue);
