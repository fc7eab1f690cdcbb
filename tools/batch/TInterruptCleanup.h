#pragma once

// For the lifetime of the object, an interrupt (Ctrl+C, SIGINT), a
// termination request (SIGTERM, SIGHUP) or a closed standard output
// (SIGPIPE: the program reading the run's lines has gone) removes the files
// being written (TPendingOutputs) and then ends the process as the signal
// would have, so the caller sees the signal's usual status (130, 143, 129,
// 141).
class TInterruptCleanup {
public:
    TInterruptCleanup();
    ~TInterruptCleanup();
    TInterruptCleanup(const TInterruptCleanup&) = delete;
    TInterruptCleanup& operator=(const TInterruptCleanup&) = delete;

    // While one lives, such a signal waits: files being moved into place
    // together are all moved, and then the signal takes effect.
    class THold {
    public:
        THold();
        ~THold();
        THold(const THold&) = delete;
        THold& operator=(const THold&) = delete;
    };
};
