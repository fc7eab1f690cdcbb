#pragma once

#include "HostOptions.h"
#include "hostcontext/PlugInHostSdk.h"

#include <memory>

class HostPlugInManager;
class TApplication;
class TScreen;

// Everything the host hands to the plug-in: the record, the context and what
// hangs off it. Lives as long as the plug-in stays loaded.
class HostSession {
public:
    HostSession(const HostOptions& AOptions, HostPlugInManager* AManager,
                TApplication* AApplication, TScreen* AScreen);
    ~HostSession();

    TPlugInHostRecord* Record() { return &FRecord; }
    const TPlugInInfo& Info() const { return FInfo; }
    // Why the database registry could not be made, or empty.
    QString DatabaseError() const { return FDatabaseError; }

private:
    void FillContext(const HostOptions& AOptions);

    TSysParams FSysParams;
    TSysOptions FSysOptions;
    TCurUnit FCurUnit;
    THostContext FContext;
    TPlugInInfo FInfo;
    TPlugInHostRecord FRecord;
    TDbManager* FDbManager = nullptr;
    QString FDatabaseError;
};
