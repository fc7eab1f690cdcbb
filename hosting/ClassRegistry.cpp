#include "ClassRegistry.h"

#include "platform/TPersistent.h"

#include <QMutexLocker>

TRegGroups* RegGroups = nullptr;

void InitClassRegistry() {
    if (!RegGroups)
        RegGroups = new TRegGroups;
}

void FinalizeClassRegistry() {
    delete RegGroups;
    RegGroups = nullptr;
}

void RegisterClass(TClass AClass) {
    if (!RegGroups || !InheritsFrom(AClass, &TPersistent::staticMetaObject))
        return;
    QMutexLocker Guard(&RegGroups->Lock());
    while (!RegGroups->Registered(AClass)) {
        RegGroups->RegisterClass(AClass);
        if (AClass == &TPersistent::staticMetaObject)
            break;
        AClass = ClassParent(AClass);
    }
}

TClass GetClass(const QString& AClassName) {
    if (!RegGroups)
        return nullptr;
    QMutexLocker Guard(&RegGroups->Lock());
    return RegGroups->GetClass(AClassName);
}
