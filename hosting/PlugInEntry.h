#pragma once

#include "PlugInHostSdk.h"

class TForm;
class TResRefManager;
class TScreen;
class TApplication;

// Library-wide state of the plug-in. HostRecord, HostContext and PlugInInfo
// are set by each ShowPlugInWindow call; ResRefManager lives from load to
// unload; the saved objects are the framework's own at load.
extern TPlugInHostRecord* HostRecord;
extern THostContext* HostContext;
extern TPlugInInfo* PlugInInfo;
extern TResRefManager* ResRefManager;
extern TApplication* SavedApplication;
extern TScreen* SavedScreen;

// Loader reasons passed to LibraryProcessHook.
constexpr int DLL_PROCESS_DETACH = 0;
constexpr int DLL_PROCESS_ATTACH = 1;
constexpr int DLL_THREAD_ATTACH = 2;
constexpr int DLL_THREAD_DETACH = 3;

// Load and unload in their fixed order: class registry, window manager,
// window class registration, then the process hook with attach; on unload
// the hook with detach, the manager freed, the registry freed.
void PlugInLoad();
void PlugInUnload();

void LibraryProcessHook(int AReason);
void FillPlugInInfo(TPlugInInfo* AInfo);
std::int32_t ShowPlugInWindowImpl(const char* AClassName, TPlugInHostRecord* AHost);

// Centres a window on the framework's screen: Top first, then Left, each
// (screen size - window size) / 2 truncated toward zero.
void CentreOnScreen(TForm* AWindow);

// GBK texts of the descriptor.
extern const char PlugInModuleName[];
extern const char PlugInSubsystemName[];
extern const char PlugInDescription[];
