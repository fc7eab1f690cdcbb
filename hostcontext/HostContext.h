#pragma once

#include "PlugInHostSdk.h"

class TAdoConn;

// What the host handed over, for the code that reads it at each use. The
// plug-in's entry sets all three on every call; a program that runs the
// report code without the entry (a command-line tool, a test) builds its own
// THostContext and sets HostContext alone. Nothing here depends on the entry.
extern TPlugInHostRecord* HostRecord;
extern THostContext* HostContext;
extern TPlugInInfo* PlugInInfo;

// The connection the host's registry keeps under "Def", created there on
// first request (not opened); on a thread inside a TThreadConnection scope,
// that scope's connection. Raises what the registry raises, and
// EDatabaseError when no context or no registry has been given.
TAdoConn* GetDefConnection();
