#include "platform/InterruptionHold.h"

#include <windows.h>

namespace {

// Never freed: the console's handler thread may wait for it until the very end.
CRITICAL_SECTION& HoldGuard()
{
    static CRITICAL_SECTION* guard = [] {
        auto* section = new CRITICAL_SECTION;
        ::InitializeCriticalSection(section);
        return section;
    }();
    return *guard;
}

}  // namespace

// Console events arrive on a thread of their own, whose handler takes a hold before it acts: it
// waits here until the holding thread lets go. A critical section nests within its thread.
struct CInterruptionHold::Saved {};

CInterruptionHold::CInterruptionHold()
{
    ::EnterCriticalSection(&HoldGuard());
}

CInterruptionHold::~CInterruptionHold()
{
    ::LeaveCriticalSection(&HoldGuard());
}
