#pragma once

#include "TPersistent.h"

#include <QList>

enum class TOperation { opInsert, opRemove };

// A component: owned by its owner (the QObject parent), which frees it.
//
// Free notification runs while the dying object is still whole, so receivers
// can still ask it for its class name: Free() first marks the component (and
// what it owns) as destroying, runs BeforeDestruction, tells every component
// registered through FreeNotification and the owner, then deletes; an owner
// frees what it owns the same way. A component
// deleted without Free() (a plain delete) still notifies, but
// from the base destructor, when only the TComponent part is left.
class PLATFORM_EXPORT TComponent : public TPersistent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TComponent(TComponent* AOwner = nullptr);
    ~TComponent() override;

    // Creates a component the way the framework does: construction, then
    // AfterConstruction (where forms run their creation handler).
    template <class T> static T* Create(TComponent* AOwner) {
        auto* Instance = new T(AOwner);
        Instance->AfterConstruction();
        return Instance;
    }

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const;
    TComponent* Components(int AIndex) const;

    QString Name() const { return objectName(); }
    void SetName(const QString& AName) { setObjectName(AName); }

    bool IsDestroying() const { return FDestroying; }

    // AComponent is told through Notification(this, opRemove) when this one is
    // destroyed, and the other way round.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    virtual void Notification(TComponent* AComponent, TOperation AOperation);
    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}

    // Notifies while whole, then deletes. Safe to call once; later calls on a
    // component that is already being destroyed do nothing.
    void Free();

protected:
    // Marks this component and everything it owns as being destroyed.
    void Destroying();

private:
    void NotifyRemoval();
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    QList<TComponent*> FComponents;
    QList<TComponent*> FFreeNotifies;
    bool FDestroying = false;
    bool FFreeing = false;
    bool FNotified = false;
};

template <class T> T* FreeAndNil(T*& AObject) {
    if (T* Old = std::exchange(AObject, nullptr))
        Old->Free();
    return nullptr;
}
