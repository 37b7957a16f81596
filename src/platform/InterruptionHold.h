#pragma once

#include <memory>

// Holds interruptions off (SIGINT, SIGTERM, SIGHUP; Ctrl+C, Ctrl+Break or a closed console on
// Windows) until the object goes: one that comes meanwhile waits, then ends the process as it
// would have. For steps that must not stop half way. Holds nest.
class CInterruptionHold {
public:
    CInterruptionHold();
    ~CInterruptionHold();
    CInterruptionHold(const CInterruptionHold&) = delete;
    CInterruptionHold& operator=(const CInterruptionHold&) = delete;

private:
    // What the hold changed, to be put back: the signal mask on Linux; none on Windows, where the
    // handler waits for the hold.
    struct Saved;
    std::unique_ptr<Saved> saved_;
};
