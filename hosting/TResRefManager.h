#pragma once

#include "HostingExceptions.h"
#include "IResRefManager.h"
#include "platform/TComponent.h"
#include "platform/TInterfacePtr.h"
#include "platform/TInterfacedObject.h"
#include "platform/TObjectStringList.h"

#include <vector>

class TResRefManager;

using TReleaseAllHook = void (*)(TResRefManager* AManager);
using TBeforeCreateHook = void (*)(TResRefManager* AManager, const QString& AClassName,
                                   bool& AAllow);
using TObjectHook = void (*)(TResRefManager* AManager, QObject* AObject);

// Holds the plug-in's windows by class name, creates them on request and
// tells its owner, through OnReleaseAll, when the last one has gone. Every
// held window keeps one counted reference to the manager's interface; the
// manager hears of a window's destruction through free notification.
class TResRefManager
    : public TComponent,
      public TInterfacedObject<TResRefManager, IResRefManager, TNotifyOnLastRelease> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TResRefManager(TComponent* AOwner = nullptr);
    ~TResRefManager() override;

    void AddResource(QObject* AObject) override;
    void RemoveResource(const QString& AClassName) override;
    // The window held under that name, or a new one; nullptr when creation
    // was forbidden or failed. Errors go to the application's HandleException;
    // a window that a show hook failed to show is still returned.
    QObject* GetResource(const QString& AClassName, bool AShow) override;
    QObject* LookupResource(const QString& AClassName) override;

    void Notification(TComponent* AComponent, TOperation AOperation) override;

    // The count has fallen to zero: OnReleaseAll, when set.
    void LastReleased();
    int ResourceCount() const { return FResources.Count(); }

    TReleaseAllHook OnReleaseAll = nullptr;
    TBeforeCreateHook OnBeforeCreate = nullptr;
    TObjectHook OnAfterCreate = nullptr;
    TObjectHook OnReuse = nullptr;

    // The error for a name that names no class the manager may create.
    static TExceptResRefManager UnknownClassError(const QString& AClassName);

private:
    // AFound receives the window as soon as it is held, so that it is
    // returned even when a hook raises afterwards.
    QObject* CreateResource(const QString& AClassName, bool AShow, QObject*& AFound);

    std::vector<TInterfacePtr<IResRefManager>> FRefCells;
    TObjectStringList FResources;
};
