#include "BenchSupport.h"

#include "hostcontext/HostContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

double Seconds(const std::function<void()>& AWork) {
    QElapsedTimer Timer;
    Timer.start();
    AWork();
    return double(Timer.nsecsElapsed()) / 1e9;
}

double BestOfThree(const std::function<void()>& AWork) {
    double Best = Seconds(AWork);
    for (int Run = 0; Run < 2; ++Run)
        Best = std::min(Best, Seconds(AWork));
    return Best;
}

long PeakMemoryMb() {
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return Usage.ru_maxrss / 1024;
}

void Report(const char* AStep, double ASeconds, int ARows, double ABaseline,
            const char* ABaselineName) {
    std::printf("%-32s %8.2f s %10.0f rows/s   %5.2f x %s\n", AStep, ASeconds, ARows / ASeconds,
                ASeconds / ABaseline, ABaselineName);
}

TBenchHost::TBenchHost(const QString& AConnection, const QString& AUnit) {
    Manager.SetLoginPrompt(false);
    Manager.SetConnectionString(AConnection);
    Params.Params = {QStringLiteral("11=") +
                     QDir(QCoreApplication::applicationDirPath()).filePath("templates/")};
    Options.DeptModeFlag = QStringLiteral("1");
    Unit.Values = {AUnit, QVariant(), QVariant(), QVariant(), 1};
    Context = {2024, &Manager, &Params, nullptr, &Options, &Unit};
    HostContext = &Context;
}

TBenchHost::~TBenchHost() {
    HostContext = nullptr;
}
