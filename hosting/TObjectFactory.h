#pragma once

#include "IObjectFactory.h"
#include "platform/TClass.h"
#include "platform/TInterfacedObject.h"

#include <QList>
#include <QMutex>
#include <memory>

class TComponent;

// Creates components from class references. An instance (reference-counted,
// freed with its last reference) also remembers variables to clear and
// objects to free when it goes.
class TObjectFactory final
    : public TInterfacedObject<TObjectFactory, IObjectFactory, TDeleteOnLastRelease> {
public:
    TObjectFactory();
    TObjectFactory(const TObjectFactory&) = delete;
    TObjectFactory& operator=(const TObjectFactory&) = delete;

    // A new instance of AClass, which must derive from TComponent, owned by
    // AOwner. Raises TObjectFactionError; nothing is left behind on failure.
    static TComponent* CreateInstance(TComponent* AOwner, TClass AClass);

    // AAddress is a TComponent** (kind 0 may be any pointer variable) or, for
    // kind 1, an IInterface** holding one counted reference.
    void RegisterReference(void* AAddress, unsigned char AKind) override;
    // AAddressOfVariable is a TComponent** whose object the factory frees.
    void RegisterOwnedObject(void* AAddressOfVariable) override;

private:
    friend struct TDeleteOnLastRelease;
    ~TObjectFactory();
    void FreeOwnedObjects();
    void ClearReferences();

    struct TReference {
        void* Address;
        unsigned char Kind;
    };
    template <class T> struct TLockedList {
        QMutex Lock;
        QList<T> Items;
    };

    std::unique_ptr<TLockedList<TReference>> FReferences;
    std::unique_ptr<TLockedList<void*>> FOwnedObjects;
};
