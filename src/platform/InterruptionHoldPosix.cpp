#include "platform/InterruptionHold.h"

#include <csignal>
#include <signal.h>

struct CInterruptionHold::Saved {
    sigset_t mask;
};

CInterruptionHold::CInterruptionHold() : saved_(std::make_unique<Saved>())
{
    sigset_t set;
    sigemptyset(&set);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, signalNumber);
    ::pthread_sigmask(SIG_BLOCK, &set, &saved_->mask);
}

CInterruptionHold::~CInterruptionHold()
{
    ::pthread_sigmask(SIG_SETMASK, &saved_->mask, nullptr);
}
