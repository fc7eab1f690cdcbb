#pragma once

#include <QByteArray>

// The temporary files being written at this moment, so that a signal
// handler can remove them before the process ends: a run interrupted with
// Ctrl+C or a termination signal leaves no half-written file behind. The
// handler may touch nothing but fixed buffers and atomic flags, which is
// why this is process-wide state.
class TPendingOutputs {
public:
    // Registers a file; the slot to release it by, or -1 when every slot is
    // taken (the file is then simply not cleaned up on a signal).
    static int Add(const QByteArray& APath);
    static void Remove(int ASlot);
    // Removes every registered file. Safe to call from a signal handler.
    static void UnlinkAll() noexcept;
};
