#pragma once

#include "hostcontext/PlugInHostSdk.h"
#include "platform/data/TDbManager.h"

#include <QString>
#include <functional>

// What the report benchmark's parts share: timing, the report lines, the
// host context a report reads.

double Seconds(const std::function<void()>& AWork);
// The better of three runs (the first also warms the caches).
double BestOfThree(const std::function<void()>& AWork);
long PeakMemoryMb();
// "<step>  <seconds> s  <rows/s>  <ratio> x <what the baseline is>"
void Report(const char* AStep, double ASeconds, int ARows, double ABaseline,
            const char* ABaselineName = "query");

// The host context of a report on the province, logged in as AUnit.
struct TBenchHost {
    TBenchHost(const QString& AConnection, const QString& AUnit);
    ~TBenchHost();
    TDbManager Manager;
    TSysParams Params;
    TSysOptions Options;
    TCurUnit Unit;
    THostContext Context;
};
