#pragma once

#include "TBatchOptions.h"
#include "hostcontext/PlugInHostSdk.h"

#include <memory>

class TDbManager;

// Stands where the host stands for the report window: the context the
// report code reads (year, logged-in unit, template folder, connection
// registry), installed as the library-wide host context for its lifetime.
class TBatchHost {
public:
    explicit TBatchHost(const TBatchOptions& AOptions);
    ~TBatchHost();
    TBatchHost(const TBatchHost&) = delete;
    TBatchHost& operator=(const TBatchHost&) = delete;

private:
    TSysParams FSysParams;
    TSysOptions FSysOptions;
    TCurUnit FCurUnit;
    THostContext FContext;
    std::unique_ptr<TDbManager> FDbManager;
    THostContext* FSaved = nullptr;
};
