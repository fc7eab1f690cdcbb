// The plug-in module: its one exported function and the load and unload of
// the library from one constructor/destructor pair, so the order of start-up
// and shut-down is fixed here rather than left to static initialisers.

#include "PlugInEntry.h"

extern "C" __attribute__((visibility("default"))) std::int32_t
ShowPlugInWindow(const char* AClassName, TPlugInHostRecord* AHost) {
    return ShowPlugInWindowImpl(AClassName, AHost);
}

namespace {
__attribute__((constructor)) void LibraryLoad() {
    PlugInLoad();
}

__attribute__((destructor)) void LibraryUnload() {
    PlugInUnload();
}
} // namespace
