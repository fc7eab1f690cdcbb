#include "TPendingOutputs.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <unistd.h>

namespace {

enum TState : int { Free, Filling, Ready };

// More than any program keeps at once: the batch tool holds every file of
// one selection's set (a workbook and a PDF per table, and the audit) until
// it moves them in together. A file beyond the last slot is not removed on
// a signal; the next run into the folder removes it as a leftover.
constexpr int Slots = 128;

struct TSlot {
    std::atomic<int> State{Free};
    char Path[PATH_MAX];
};

TSlot Pending[Slots];

} // namespace

int TPendingOutputs::Add(const QByteArray& APath) {
    if (APath.size() >= PATH_MAX)
        return -1;
    for (int I = 0; I < Slots; ++I) {
        int Expected = Free;
        if (!Pending[I].State.compare_exchange_strong(Expected, Filling))
            continue;
        std::memcpy(Pending[I].Path, APath.constData(), size_t(APath.size()) + 1);
        Pending[I].State.store(Ready);
        return I;
    }
    return -1;
}

void TPendingOutputs::Remove(int ASlot) {
    if (ASlot >= 0 && ASlot < Slots)
        Pending[ASlot].State.store(Free);
}

void TPendingOutputs::UnlinkAll() noexcept {
    for (TSlot& Slot : Pending) {
        if (Slot.State.load() == Ready)
            ::unlink(Slot.Path);
    }
}
