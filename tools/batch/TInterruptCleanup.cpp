#include "TInterruptCleanup.h"

#include "cell/TPendingOutputs.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// A signal handler may touch nothing but atomic flags: whether a set of
// files is being moved in, and the signal that came meanwhile.
std::atomic<bool> Holding{false};
std::atomic<int> Held{0};

const char PipeClosed[] = "varnholt-batch: 标准输出已关闭（读取输出的程序已退出），运行中止；"
                          "未写完的文件已删除，文件夹中此前的报表没有动。\n";

void EndBy(int ASignal) {
    TPendingOutputs::UnlinkAll();
    if (ASignal == SIGPIPE) {
        const ssize_t Written = ::write(STDERR_FILENO, PipeClosed, sizeof PipeClosed - 1);
        static_cast<void>(Written);
    }
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
}

TInterruptCleanup::~TInterruptCleanup() {
    for (int Signal : Signals)
        std::signal(Signal, SIG_DFL);
}

TInterruptCleanup::THold::THold() {
    Holding.store(true);
}

TInterruptCleanup::THold::~THold() {
    Holding.store(false);
    if (const int Signal = Held.exchange(0))
        EndBy(Signal);
}
