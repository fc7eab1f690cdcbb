#pragma once

#include "platform/IInterface.h"

// Kinds of variables an object factory clears when it goes.
enum class TReferenceKind : unsigned char { Pointer = 0, Interface = 1 };

class IObjectFactory : public IInterface {
public:
    static QUuid Iid() { return QUuid(QStringLiteral("{D9B7D17E-F1AD-4740-B4D6-33089BA3462E}")); }

    virtual void RegisterReference(void* AAddress, unsigned char AKind) = 0;
    virtual void RegisterOwnedObject(void* AAddressOfVariable) = 0;

protected:
    ~IObjectFactory() = default;
};
