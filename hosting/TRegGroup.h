#pragma once

#include "platform/TClass.h"

#include <QList>
#include <QPair>
#include <QString>

// One group of registered classes. A class belongs to the group whose
// defining class is its nearest ancestor.
class TRegGroup {
public:
    explicit TRegGroup(TClass AGroupClass);

    TClass BestClass(TClass AClass) const;
    TClass GetClass(const QString& AClassName) const;
    // Raises EFilerError when a class of the same name is already here.
    void AddClass(TClass AClass);
    bool Registered(TClass AClass) const;

    bool Active() const { return FActive; }
    void SetActive(bool AValue) { FActive = AValue; }
    const QList<TClass>& ClassList() const { return FClassList; }

private:
    QList<TClass> FClassList;
    QList<QPair<QString, TClass>> FAliasList;
    QList<TClass> FGroupClasses;
    bool FActive = false;
};
