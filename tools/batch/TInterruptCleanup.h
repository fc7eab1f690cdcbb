#pragma once

// For the lifetime of the object, an interrupt (Ctrl+C, SIGINT) or a
// termination request (SIGTERM, SIGHUP) removes the files being written
// (TPendingOutputs) and then ends the process as the signal would have, so
// the caller sees the signal's usual status (130, 143, ...).
class TInterruptCleanup {
public:
    TInterruptCleanup();
    ~TInterruptCleanup();
    TInterruptCleanup(const TInterruptCleanup&) = delete;
    TInterruptCleanup& operator=(const TInterruptCleanup&) = delete;
};
