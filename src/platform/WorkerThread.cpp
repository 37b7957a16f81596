#include "platform/WorkerThread.h"

#include <utility>

#include "platform/InterruptionHold.h"

std::thread CWorkerThread::Start(std::function<void()> work)
{
#if !defined(_WIN32)
    // The new thread takes the signal mask it starts with. Console events on Windows arrive on a
    // thread of their own, whatever the others do.
    CInterruptionHold held;
#endif
    return std::thread(std::move(work));
}
