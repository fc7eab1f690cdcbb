#pragma once

#include "hostcontext/HostContext.h"

class TResRefManager;
class TScreen;
class TApplication;

// Library-wide state of the plug-in beside the host's context (which each
// ShowPlugInWindow call sets): ResRefManager lives from load to unload; the
// saved objects are the platform's own at load.
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

// GBK texts of the descriptor.
extern const char PlugInModuleName[];
extern const char PlugInSubsystemName[];
extern const char PlugInDescription[];
