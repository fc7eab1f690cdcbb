#pragma once

#include "hostcontext/PlugInHostSdk.h"
#include "platform/data/TDbManager.h"

#include <QString>
#include <QVariant>
#include <memory>

// Stands in for the host: a context with its own connection registry,
// options, logged-in unit and system parameters (the report templates beside
// the binaries), put in the plug-in's HostContext for the scope's life. The
// registry's "Def" connection is made from the given connection string on
// first use.
class THostScope {
public:
    explicit THostScope(const QString& AConnectionString);
    ~THostScope();
    THostScope(const THostScope&) = delete;
    THostScope& operator=(const THostScope&) = delete;

    void SetUnit(const QVariant& ACode, const QString& ADeptModeFlag);

    THostContext Context;
    TSysOptions Options;
    TCurUnit Unit;
    TSysParams Params;
    std::unique_ptr<TDbManager> Manager;

private:
    THostContext* FSaved;
};
