#include "HostingFixture.h"

#include "HostedWindows.h"
#include "hosting/ClassRegistry.h"
#include "platform/ui/TApplication.h"
#include "support/PendingEvents.h"

namespace {
HostingFixture* Current = nullptr;
QStringList* CurrentHooks = nullptr;
bool* CurrentAllow = nullptr;
} // namespace

void HostingFixture::SetUp() {
    InitClassRegistry();
    RegisterClass<HostedSubWindow>();
    RegisterClass<FailingComponent>();
    FSavedOnException = Application->OnException;
    Application->OnException = [this](QObject*, const Exception& E) {
        Errors.append(E.Message());
    };
    Manager = new TResRefManager(nullptr);
    Current = this;
    CurrentHooks = &Hooks;
    CurrentAllow = &AllowCreation;
    Manager->OnBeforeCreate = [](TResRefManager*, const QString& AName, bool& AAllow) {
        CurrentHooks->append(QStringLiteral("before:") + AName);
        AAllow = *CurrentAllow;
    };
    Manager->OnAfterCreate = [](TResRefManager*, QObject* AObject) {
        CurrentHooks->append(QStringLiteral("after:") + AObject->metaObject()->className());
    };
    Manager->OnReuse = [](TResRefManager*, QObject* AObject) {
        CurrentHooks->append(QStringLiteral("reuse:") + AObject->metaObject()->className());
    };
    Manager->OnReleaseAll = [](TResRefManager*) {
        CurrentHooks->append(QStringLiteral("release"));
    };
}

void HostingFixture::TearDown() {
    // Windows left by a test go first; then the manager and the registry.
    while (Application->ComponentCount() > 0)
        Application->Components(Application->ComponentCount() - 1)->Free();
    ProcessPendingEvents();
    FreeAndNil(Manager);
    FinalizeClassRegistry();
    Application->OnException = FSavedOnException;
    Current = nullptr;
}
