#pragma once

// For the lifetime of the object, an interrupt (Ctrl+C, SIGINT) or a
// termination request (SIGTERM, SIGHUP) removes the files being written
// (TPendingOutputs) and then ends the process as the signal would have, so
// the caller sees the signal's usual status (130, 143, 129). SIGPIPE is
// ignored meanwhile: a closed standard output makes the write fail, and the
// run stops at its next step with everything cleaned up (TBatchConsole),
// then ends by EndByClosedOutput.
class TInterruptCleanup {
public:
    TInterruptCleanup();
    ~TInterruptCleanup();
    TInterruptCleanup(const TInterruptCleanup&) = delete;
    TInterruptCleanup& operator=(const TInterruptCleanup&) = delete;

    // Says on standard error that the output was closed and ends the process
    // as SIGPIPE does (status 141).
    [[noreturn]] static void EndByClosedOutput();

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
