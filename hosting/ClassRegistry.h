#pragma once

#include "TRegGroups.h"

// The library-wide registry, alive between InitClassRegistry and
// FinalizeClassRegistry (the library's load and unload).
extern TRegGroups* RegGroups;

void InitClassRegistry();
void FinalizeClassRegistry();

// Registers a class derived from TPersistent and every ancestor up to the
// first one already registered (or TPersistent itself).
void RegisterClass(TClass AClass);
// The registered class of that name (ASCII letter case ignored), or nullptr.
TClass GetClass(const QString& AClassName);

template <class T> void RegisterClass() {
    RegisterClass(&T::staticMetaObject);
}
