#pragma once

#include "platform/IInterface.h"

#include <QString>

class QObject;

// The resource manager's interface. Slot order after the three counting
// methods: AddResource, RemoveResource, GetResource, LookupResource.
class IResRefManager : public IInterface {
public:
    static QUuid Iid() { return QUuid(QStringLiteral("{20D5590E-F0A5-4F46-81F0-5C62D2F30F38}")); }

    virtual void AddResource(QObject* AObject) = 0;
    virtual void RemoveResource(const QString& AClassName) = 0;
    virtual QObject* GetResource(const QString& AClassName, bool AShow) = 0;
    virtual QObject* LookupResource(const QString& AClassName) = 0;

protected:
    ~IResRefManager() = default;
};
