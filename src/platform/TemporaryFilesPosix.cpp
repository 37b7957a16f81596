#include "platform/TemporaryFiles.h"

#include <algorithm>
#include <csignal>
#include <signal.h>
#include <unistd.h>
#include <vector>

#include "platform/InterruptionHold.h"

namespace {

constexpr int kInterruptions[] = {SIGINT, SIGTERM, SIGHUP};

// Never freed: a handler may run until the very end.
std::vector<std::string>* gTemporaries = nullptr;

sigset_t InterruptionSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signalNumber : kInterruptions)
        sigaddset(&set, signalNumber);
    return set;
}

void RemoveTemporariesAndEnd(int signalNumber)
{
    if (gTemporaries)
        for (const std::string& path : *gTemporaries)
            ::unlink(path.c_str());
    // The handler was reset to the default on entry: raised again, the signal ends the process
    // with its usual status as soon as this handler returns.
    ::raise(signalNumber);
}

}  // namespace

void CTemporaryFiles::InstallHandlers()
{
    std::signal(SIGXFSZ, SIG_IGN);
    for (int signalNumber : kInterruptions) {
        struct sigaction current {};
        if (::sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndEnd;
        action.sa_mask = InterruptionSet();
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signalNumber, &action, nullptr);
    }
}

bool CTemporaryFiles::Create(const std::string& path, const std::function<bool()>& create)
{
    // The handler never walks a list half changed.
    CInterruptionHold held;
    if (!create())
        return false;
    if (!gTemporaries)
        gTemporaries = new std::vector<std::string>;
    gTemporaries->push_back(path);
    return true;
}

void CTemporaryFiles::Forget(const std::string& path)
{
    CInterruptionHold held;
    if (gTemporaries)
        std::erase(*gTemporaries, path);
}
