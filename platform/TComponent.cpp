#include "TComponent.h"

TComponent::TComponent(TComponent* AOwner)
    : TPersistent(AOwner) {
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    FFreeing = true;
    Destroying();
    NotifyRemoval();
    // Owned components go first, each whole while it is told about.
    while (!FComponents.isEmpty())
        FComponents.last()->Free();
}

int TComponent::ComponentCount() const {
    return static_cast<int>(FComponents.size());
}

TComponent* TComponent::Components(int AIndex) const {
    return FComponents.value(AIndex);
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this)
        return;
    if (!FFreeNotifies.contains(AComponent))
        FFreeNotifies.append(AComponent);
    if (!AComponent->FFreeNotifies.contains(this))
        AComponent->FFreeNotifies.append(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent)
        return;
    FFreeNotifies.removeAll(AComponent);
    AComponent->FFreeNotifies.removeAll(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation AOperation) {
    if (AOperation == TOperation::opRemove && AComponent)
        FFreeNotifies.removeAll(AComponent);
    // Owned components hear what their owner hears. Counting down keeps the
    // walk safe when a receiver frees one of its siblings.
    for (int I = ComponentCount() - 1; I >= 0; --I) {
        if (I < ComponentCount())
            FComponents[I]->Notification(AComponent, AOperation);
    }
}

void TComponent::Free() {
    if (FFreeing)
        return;
    FFreeing = true;
    Destroying();
    BeforeDestruction();
    NotifyRemoval();
    delete this;
}

void TComponent::Destroying() {
    if (FDestroying)
        return;
    FDestroying = true;
    for (TComponent* Child : std::as_const(FComponents))
        Child->Destroying();
}

void TComponent::NotifyRemoval() {
    if (FNotified)
        return;
    FNotified = true;
    while (!FFreeNotifies.isEmpty()) {
        TComponent* Receiver = FFreeNotifies.takeLast();
        Receiver->FFreeNotifies.removeAll(this);
        Receiver->Notification(this, TOperation::opRemove);
    }
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* AComponent) {
    AComponent->FOwner = this;
    FComponents.append(AComponent);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    Notification(AComponent, TOperation::opRemove);
    FComponents.removeAll(AComponent);
    AComponent->FOwner = nullptr;
}
