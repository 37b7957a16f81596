#include "platform/TemporaryFiles.h"

#include <algorithm>
#include <utility>
#include <vector>
#include <windows.h>

#include "platform/WideText.h"

namespace {

// Never freed: the console's handler thread may use them until the very end.
std::vector<std::string>* gTemporaries = nullptr;

CRITICAL_SECTION& ListGuard()
{
    static CRITICAL_SECTION* guard = [] {
        auto* section = new CRITICAL_SECTION;
        ::InitializeCriticalSection(section);
        return section;
    }();
    return *guard;
}

// Runs on a thread of its own while the program goes on.
BOOL WINAPI RemoveTemporaries(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT &&
        event != CTRL_SHUTDOWN_EVENT)
        return FALSE;
    // Never left: the program may make no new temporary file before it ends.
    ::EnterCriticalSection(&ListGuard());
    if (gTemporaries)
        for (const std::string& path : *gTemporaries)
            ::DeleteFileW(WideText(path).c_str());
    // The default handler then ends the process with the status of the event.
    return FALSE;
}

}  // namespace

void CTemporaryFiles::InstallHandlers()
{
    ListGuard();
    ::SetConsoleCtrlHandler(RemoveTemporaries, TRUE);
}

bool CTemporaryFiles::Create(const std::string& path, const std::function<bool()>& create)
{
    ::EnterCriticalSection(&ListGuard());
    const bool created = create();
    if (created) {
        if (!gTemporaries)
            gTemporaries = new std::vector<std::string>;
        gTemporaries->push_back(path);
    }
    ::LeaveCriticalSection(&ListGuard());
    return created;
}

void CTemporaryFiles::Forget(const std::string& path)
{
    ::EnterCriticalSection(&ListGuard());
    if (gTemporaries)
        std::erase(*gTemporaries, path);
    ::LeaveCriticalSection(&ListGuard());
}

std::thread CTemporaryFiles::StartThread(std::function<void()> work)
{
    // Console events arrive on a thread of their own, whatever the others do.
    return std::thread(std::move(work));
}
