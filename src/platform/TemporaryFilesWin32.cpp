#include "platform/TemporaryFiles.h"

#include <algorithm>
#include <vector>
#include <windows.h>

#include "platform/InterruptionHold.h"
#include "platform/WideText.h"

namespace {

// Never freed: the console's handler thread may use them until the very end.
std::vector<std::string>* gTemporaries = nullptr;

// Runs on a thread of its own while the program goes on.
BOOL WINAPI RemoveTemporaries(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT &&
        event != CTRL_SHUTDOWN_EVENT)
        return FALSE;
    // Never let go: the program may make no new temporary file before it ends. A hold that the
    // program has taken (files being put in place) is waited for.
    new CInterruptionHold;
    if (gTemporaries)
        for (const std::string& path : *gTemporaries)
            ::DeleteFileW(WideText(path).c_str());
    // The default handler then ends the process with the status of the event.
    return FALSE;
}

}  // namespace

void CTemporaryFiles::InstallHandlers()
{
    ::SetConsoleCtrlHandler(RemoveTemporaries, TRUE);
}

bool CTemporaryFiles::Create(const std::string& path, const std::function<bool()>& create)
{
    CInterruptionHold held;
    const bool created = create();
    if (created) {
        if (!gTemporaries)
            gTemporaries = new std::vector<std::string>;
        gTemporaries->push_back(path);
    }
    return created;
}

void CTemporaryFiles::Forget(const std::string& path)
{
    CInterruptionHold held;
    if (gTemporaries)
        std::erase(*gTemporaries, path);
}
