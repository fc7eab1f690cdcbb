#include "TSettingsStore.h"

TSettingsStore::~TSettingsStore() = default;
