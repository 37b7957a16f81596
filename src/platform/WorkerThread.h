#pragma once

#include <functional>
#include <thread>

// A thread for work beside the main one (the VB check, the language server's checks). It is
// never interrupted itself, so that an interruption's handler always runs in a thread that holds
// interruptions off while it changes the list of temporary files (CTemporaryFiles).
class CWorkerThread {
public:
    static std::thread Start(std::function<void()> work);
};
