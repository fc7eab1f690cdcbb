#include "TObjectFactory.h"

#include "HostingExceptions.h"
#include "platform/ui/TForm.h"
#include "platform/ui/TWinControl.h"

#include <QMutexLocker>

TObjectFactory::TObjectFactory()
    : FReferences(std::make_unique<TLockedList<TReference>>())
    , FOwnedObjects(std::make_unique<TLockedList<void*>>()) {}

namespace {
TComponent* Construct(TComponent* AOwner, TClass AClass) {
    QObject* Made = AClass->newInstance(Q_ARG(TComponent*, AOwner));
    auto* Instance = qobject_cast<TComponent*>(Made);
    if (!Instance) {
        delete Made;
        throw Exception(QStringLiteral("%1没有可用的构造函数").arg(ClassNameOf(AClass)));
    }
    return Instance;
}

void PlaceCreated(TComponent* AOwner, TComponent* AInstance, TClass AClass) {
    if (auto* Form = qobject_cast<TForm*>(AInstance)) {
        // The placement the form was designed with is kept, not replaced by
        // automatic placement.
        Form->SetPosition(TPosition::poDesigned);
        return;
    }
    auto* Control = qobject_cast<TControl*>(AInstance);
    auto* Parent = qobject_cast<TWinControl*>(AOwner);
    if (Control && Parent && InheritsFrom(AClass, &TControl::staticMetaObject))
        Control->SetParent(Parent);
}
} // namespace

TComponent* TObjectFactory::CreateInstance(TComponent* AOwner, TClass AClass) {
    if (!InheritsFrom(AClass, &TComponent::staticMetaObject))
        throw TObjectFactionError(QStringLiteral("只能创建从TComponent继承过来的类的实例！"));
    TComponent* Instance = nullptr;
    try {
        Instance = Construct(AOwner, AClass);
        Instance->AfterConstruction();
        PlaceCreated(AOwner, Instance, AClass);
    } catch (...) {
        FreeAndNil(Instance);
        throw TObjectFactionError(QStringLiteral("创建对象失败！"));
    }
    return Instance;
}

void TObjectFactory::RegisterReference(void* AAddress, unsigned char AKind) {
    QMutexLocker Guard(&FReferences->Lock);
    FReferences->Items.append({AAddress, AKind});
}

void TObjectFactory::RegisterOwnedObject(void* AAddressOfVariable) {
    QMutexLocker Guard(&FOwnedObjects->Lock);
    FOwnedObjects->Items.append(AAddressOfVariable);
}

TObjectFactory::~TObjectFactory() {
    // Owned objects go first; the registered variables are cleared after.
    // A failure in one step skips the next (its state is unknown), but both
    // lists are freed in any case. A destructor cannot raise, so the errors
    // end here.
    try {
        FreeOwnedObjects();
        ClearReferences();
    } catch (...) {
    }
}

void TObjectFactory::FreeOwnedObjects() {
    if (!FOwnedObjects)
        return;
    QMutexLocker Guard(&FOwnedObjects->Lock);
    try {
        while (!FOwnedObjects->Items.isEmpty()) {
            auto** Variable = static_cast<TComponent**>(FOwnedObjects->Items.last());
            FreeAndNil(*Variable);
            FOwnedObjects->Items.removeLast();
        }
    } catch (...) {
        throw TObjectFactionError(QStringLiteral("释放资源失败！"));
    }
}

void TObjectFactory::ClearReferences() {
    if (!FReferences)
        return;
    QMutexLocker Guard(&FReferences->Lock);
    try {
        while (!FReferences->Items.isEmpty()) {
            const TReference Reference = FReferences->Items.takeLast();
            if (Reference.Kind == static_cast<unsigned char>(TReferenceKind::Pointer)) {
                *static_cast<void**>(Reference.Address) = nullptr;
            } else if (Reference.Kind == static_cast<unsigned char>(TReferenceKind::Interface)) {
                auto** Variable = static_cast<IInterface**>(Reference.Address);
                if (IInterface* Held = std::exchange(*Variable, nullptr))
                    Held->_Release();
            }
        }
    } catch (...) {
        throw TObjectFactionError(QStringLiteral("指针操作失败！"));
    }
}
