#include "TResRefManager.h"

#include "ClassRegistry.h"
#include "HostingExceptions.h"
#include "TObjectFactory.h"
#include "platform/ui/TApplication.h"

TResRefManager::TResRefManager(TComponent* AOwner)
    : TComponent(AOwner) {}

TResRefManager::~TResRefManager() {
    // The cells' references are dropped without counting down: destroying
    // the manager neither frees the held windows nor reports a release.
    for (auto& Cell : FRefCells)
        Cell.Detach();
    FRefCells.clear();
}

void TResRefManager::LastReleased() {
    if (OnReleaseAll)
        OnReleaseAll(this);
}

QObject* TResRefManager::LookupResource(const QString& AClassName) {
    return FResources.GetObject(FResources.IndexOf(AClassName));
}

void TResRefManager::AddResource(QObject* AObject) {
    if (!AObject)
        return;
    FResources.AddObject(QString::fromLatin1(AObject->metaObject()->className()), AObject);
    if (auto* Component = qobject_cast<TComponent*>(AObject)) {
        FRefCells.emplace_back(static_cast<IResRefManager*>(this));
        Component->FreeNotification(this);
    }
}

void TResRefManager::RemoveResource(const QString& AClassName) {
    const int Index = FResources.IndexOf(AClassName);
    if (Index < 0)
        return;
    if (qobject_cast<TComponent*>(FResources.GetObject(Index))) {
        // Cells and lines are index-aligned only over components; find the
        // cell of this line by counting the components before it.
        int Cell = 0;
        for (int I = 0; I < Index; ++I) {
            if (qobject_cast<TComponent*>(FResources.GetObject(I)))
                ++Cell;
        }
        if (Cell < static_cast<int>(FRefCells.size())) {
            // Dropping the reference may fire OnReleaseAll while the line is
            // still here; it goes right after.
            FRefCells[Cell].Clear();
            FRefCells.erase(FRefCells.begin() + Cell);
        }
    }
    FResources.Delete(Index);
}

QObject* TResRefManager::GetResource(const QString& AClassName, bool AShow) {
    QObject* Found = nullptr;
    try {
        return CreateResource(AClassName, AShow, Found);
    } catch (...) {
        if (Application)
            Application->HandleException(this);
        return Found;
    }
}

QObject* TResRefManager::CreateResource(const QString& AClassName, bool AShow, QObject*& AFound) {
    QObject* Held = LookupResource(AClassName);
    if (auto* Component = qobject_cast<TComponent*>(Held); Component && Component->IsDestroying())
        Held = nullptr;
    if (Held) {
        AFound = Held;
        if (AShow && OnReuse)
            OnReuse(this, Held);
        return Held;
    }
    const TClass Class = GetClass(AClassName);
    if (!Class)
        throw UnknownClassError(AClassName);
    bool Allow = true;
    if (AShow && OnBeforeCreate)
        OnBeforeCreate(this, AClassName, Allow);
    if (!Allow)
        return nullptr;
    AFound = TObjectFactory::CreateInstance(Application, Class);
    AddResource(AFound);
    if (AShow && OnAfterCreate)
        OnAfterCreate(this, AFound);
    return AFound;
}

TExceptResRefManager TResRefManager::UnknownClassError(const QString& AClassName) {
    return TExceptResRefManager(QStringLiteral("类%1没有进行注册或不存在！").arg(AClassName));
}

void TResRefManager::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AComponent && AOperation == TOperation::opRemove && LookupResource(AComponent->ClassName()))
        RemoveResource(AComponent->ClassName());
}
