#include "TInterruptCleanup.h"

#include "cell/TPendingOutputs.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};

// A signal handler may touch nothing but atomic flags: whether a set of
// files is being moved in, and the signal that came meanwhile.
std::atomic<bool> Holding{false};
std::atomic<int> Held{0};

void EndBy(int ASignal) {
    TPendingOutputs::UnlinkAll();
    std::signal(ASignal, SIG_DFL);
    std::raise(ASignal);
}

void Handle(int ASignal) {
    if (Holding.load()) {
        Held.store(ASignal);
        return;
    }
    EndBy(ASignal);
}

} // namespace

TInterruptCleanup::TInterruptCleanup() {
    struct sigaction Action {};
    Action.sa_handler = Handle;
    sigemptyset(&Action.sa_mask);
    for (int Signal : Signals)
        sigaction(Signal, &Action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

TInterruptCleanup::~TInterruptCleanup() {
    for (int Signal : Signals)
        std::signal(Signal, SIG_DFL);
    std::signal(SIGPIPE, SIG_DFL);
}

void TInterruptCleanup::EndByClosedOutput() {
    std::fputs("varnholt-batch: 标准输出已关闭（读取输出的程序已退出），运行中止；"
               "没有写完的报表已删除，没有放入文件夹。\n",
               stderr);
    std::fflush(stderr);
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    std::_Exit(128 + SIGPIPE);
}

TInterruptCleanup::THold::THold() {
    Holding.store(true);
}

TInterruptCleanup::THold::~THold() {
    Holding.store(false);
    if (const int Signal = Held.exchange(0))
        EndBy(Signal);
}
