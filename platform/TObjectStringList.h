#pragma once

#include "PlatformExport.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QPair>
#include <QString>

// Built into the shared platform library: the host's connection registry
// and the plug-in's window manager both use it.
//
// Names with an object each, in insertion order, duplicates allowed. Each
// operation takes the list's lock for its own run; a sequence of operations
// is not atomic as a whole. The list never owns the objects it names.
class PLATFORM_EXPORT TObjectStringList {
public:
    TObjectStringList() = default;
    TObjectStringList(const TObjectStringList&) = delete;
    TObjectStringList& operator=(const TObjectStringList&) = delete;

    int AddObject(const QString& AName, QObject* AObject);
    // Index of the first line whose name equals AName without regard to
    // letter case, or -1.
    int IndexOf(const QString& AName) const;
    QObject* GetObject(int AIndex) const;
    QString GetName(int AIndex) const;
    void Delete(int AIndex);
    int Count() const;

private:
    QList<QPair<QString, QObject*>> FLines;
    mutable QMutex FLock;
};
