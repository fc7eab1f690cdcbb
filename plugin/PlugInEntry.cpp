#include "PlugInEntry.h"

#include "ReportWindows.h"
#include "forms/TfrmBase.h"
#include "hosting/ClassRegistry.h"
#include "hosting/TResRefManager.h"
#include "platform/ui/TApplication.h"
#include "platform/ui/TScreen.h"

TResRefManager* ResRefManager = nullptr;
TApplication* SavedApplication = nullptr;
TScreen* SavedScreen = nullptr;

// "授权支出模块", "支付管理子系统", "完成授权支付的支出、查询等功能" in GBK, as
// hosts of this plug-in expect them.
const char PlugInModuleName[] = "\xCA\xDA\xC8\xA8\xD6\xA7\xB3\xF6\xC4\xA3\xBF\xE9";
const char PlugInSubsystemName[] = "\xD6\xA7\xB8\xB6\xB9\xDC\xC0\xED\xD7\xD3\xCF\xB5\xCD\xB3";
const char PlugInDescription[] = "\xCD\xEA\xB3\xC9\xCA\xDA\xC8\xA8\xD6\xA7\xB8\xB6\xB5\xC4\xD6\xA7"
                                 "\xB3\xF6\xA1\xA2\xB2\xE9\xD1\xAF\xB5\xC8\xB9\xA6\xC4\xDC";

namespace {
// Every window class may be created; nothing else. The registry also holds
// each registered window's ancestors (TComponent, TControl, ...): made by
// name, one of those would be an invisible object that the manager holds for
// good, so the host would never hear that the plug-in is released. Such a
// name is reported as one the registry does not know.
void BeforeCreate(TResRefManager*, const QString& AClassName, bool&) {
    if (!InheritsFrom(GetClass(AClassName), &TForm::staticMetaObject))
        throw TResRefManager::UnknownClassError(AClassName);
}

void AfterCreate(TResRefManager*, QObject* AObject) {
    auto* Window = qobject_cast<TForm*>(AObject);
    if (!Window)
        return;
    auto* Base = qobject_cast<TfrmBase*>(Window);
    if (Base && Base->ModalFlag() != 0)
        Window->ShowModal();
    else
        Window->Show();
}

void Reuse(TResRefManager*, QObject* AObject) {
    if (auto* Window = qobject_cast<TForm*>(AObject))
        Window->Show();
}

void ReleaseAll(TResRefManager*) {
    // Read through the record at this moment: the host may have handed over
    // a new notifier since the window was created.
    if (HostRecord && HostRecord->PlugInManager && HostRecord->PlugInInfo)
        HostRecord->PlugInManager->PlugInReleased(HostRecord->PlugInInfo->PlugInId);
}

void InstallManagerHooks() {
    ResRefManager->OnBeforeCreate = BeforeCreate;
    ResRefManager->OnAfterCreate = AfterCreate;
    ResRefManager->OnReleaseAll = ReleaseAll;
    ResRefManager->OnReuse = Reuse;
}
} // namespace

void PlugInLoad() {
    InitClassRegistry();
    if (!ResRefManager)
        ResRefManager = new TResRefManager(nullptr);
    RegisterReportWindows();
    LibraryProcessHook(DLL_PROCESS_ATTACH);
}

void PlugInUnload() {
    LibraryProcessHook(DLL_PROCESS_DETACH);
    FreeAndNil(ResRefManager);
    FinalizeClassRegistry();
}

void LibraryProcessHook(int AReason) {
    switch (AReason) {
    case DLL_PROCESS_ATTACH:
        SavedApplication = Application;
        SavedScreen = Screen;
        break;
    case DLL_PROCESS_DETACH:
        Application = SavedApplication;
        Screen = SavedScreen;
        break;
    default:
        break;
    }
}

void FillPlugInInfo(TPlugInInfo* AInfo) {
    AInfo->ModuleName = PlugInModuleName;
    AInfo->SubsystemName = PlugInSubsystemName;
    AInfo->Description = PlugInDescription;
}

std::int32_t ShowPlugInWindowImpl(const char* AClassName, TPlugInHostRecord* AHost) {
    try {
        if (!AHost)
            throw Exception(QStringLiteral("宿主记录为空，无法显示窗口"));
        HostRecord = AHost;
        HostContext = AHost->HostContext;
        if (AHost->PlugInInfo)
            FillPlugInInfo(AHost->PlugInInfo);
        PlugInInfo = AHost->PlugInInfo;
        Application = AHost->Application;
        Screen = AHost->Screen;
        if (!ResRefManager)
            throw Exception(QStringLiteral("插件尚未初始化"));
        InstallManagerHooks();
        ResRefManager->GetResource(QString::fromLatin1(AClassName ? AClassName : ""), true);
        return 0;
    } catch (...) {
        if (Application)
            Application->HandleException(nullptr);
        return -1;
    }
}
