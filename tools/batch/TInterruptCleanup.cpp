#include "TInterruptCleanup.h"

#include "cell/TPendingOutputs.h"

#include <csignal>

namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};

void Handle(int ASignal) {
    TPendingOutputs::UnlinkAll();
    std::signal(ASignal, SIG_DFL);
    std::raise(ASignal);
}

} // namespace

TInterruptCleanup::TInterruptCleanup() {
    struct sigaction Action {};
    Action.sa_handler = Handle;
    sigemptyset(&Action.sa_mask);
    for (int Signal : Signals)
        sigaction(Signal, &Action, nullptr);
}

TInterruptCleanup::~TInterruptCleanup() {
    for (int Signal : Signals)
        std::signal(Signal, SIG_DFL);
}
