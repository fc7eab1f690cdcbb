#pragma once

#include "TRegGroup.h"

#include <QRecursiveMutex>
#include <memory>
#include <vector>

// The plug-in's own registry of classes by name.
class TRegGroups {
public:
    TRegGroups();

    TRegGroup* FindGroup(TClass AClass) const;
    TClass GetClass(const QString& AClassName) const;
    void RegisterClass(TClass AClass);
    bool Registered(TClass AClass) const;

    // Re-entrant for the thread that holds it.
    QRecursiveMutex& Lock() const { return FLock; }

private:
    std::vector<std::unique_ptr<TRegGroup>> FGroups;
    mutable QRecursiveMutex FLock;
};
