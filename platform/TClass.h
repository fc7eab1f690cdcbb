#pragma once

#include <QMetaObject>
#include <QString>

// A class reference: the metaclass of a QObject-derived class. Identity
// comparison, name, parent and inheritance come from the QMetaObject.
using TClass = const QMetaObject*;

inline QString ClassNameOf(TClass AClass) {
    return AClass ? QString::fromLatin1(AClass->className()) : QString();
}

inline TClass ClassParent(TClass AClass) {
    return AClass ? AClass->superClass() : nullptr;
}

// True also for the class itself: a class inherits from itself.
inline bool InheritsFrom(TClass AClass, TClass AAncestor) {
    return AClass && AAncestor && AClass->inherits(AAncestor);
}
