#include "platform/FolderLock.h"

#include <cstdio>
#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/WideText.h"

namespace {

// Mutexes of every session, so that two users of one machine who write into a shared folder
// wait for each other too.
constexpr const wchar_t* kMutexFormat = L"Global\\rulecast-folder-%08lx-%08lx%08lx";
constexpr const wchar_t* kSessionMutexFormat = L"Local\\rulecast-folder-%08lx-%08lx%08lx";

}  // namespace

// Windows locks no byte range of a folder: a named mutex stands in for it, named after the
// folder's volume and file index so that every spelling of the folder, and every link to it, gives
// the same name. It lives in no file, and a process that ends abandons it to the next waiter.
struct CFolderLock::Held {
    HANDLE mutex;
    ~Held()
    {
        ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
    }
};

CFolderLock::CFolderLock() = default;

CFolderLock::~CFolderLock() = default;

bool CFolderLock::Lock(const std::string& folder, const std::function<void()>& whileWaiting)
{
    Unlock();
    const HANDLE opened = ::CreateFileW(WideText(folder).c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION identity{};
    const bool known = opened != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(opened, &identity);
    const DWORD error = ::GetLastError();
    if (opened != INVALID_HANDLE_VALUE)
        ::CloseHandle(opened);
    if (!known) {
        errorText_ = CFileSystem::FolderErrorText(static_cast<int>(error));
        return false;
    }
    wchar_t name[80];
    std::swprintf(name, sizeof name / sizeof name[0], kMutexFormat, identity.dwVolumeSerialNumber,
                  identity.nFileIndexHigh, identity.nFileIndexLow);
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name);
    // Another user's mutex of that name may deny this user; the session's own still keeps this
    // user's conversions apart.
    if (!mutex && ::GetLastError() == ERROR_ACCESS_DENIED) {
        std::swprintf(name, sizeof name / sizeof name[0], kSessionMutexFormat, identity.dwVolumeSerialNumber,
                      identity.nFileIndexHigh, identity.nFileIndexLow);
        mutex = ::CreateMutexW(nullptr, FALSE, name);
    }
    if (!mutex) {
        errorText_ = CFileSystem::FolderErrorText(static_cast<int>(::GetLastError()));
        return false;
    }
    DWORD waited = ::WaitForSingleObject(mutex, 0);
    if (waited == WAIT_TIMEOUT) {
        if (whileWaiting)
            whileWaiting();
        waited = ::WaitForSingleObject(mutex, INFINITE);
    }
    // An abandoned mutex is owned all the same: its holder ended without letting go.
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        errorText_ = CFileSystem::FolderErrorText(static_cast<int>(::GetLastError()));
        ::CloseHandle(mutex);
        return false;
    }
    held_.reset(new Held{mutex});
    return true;
}

void CFolderLock::Unlock()
{
    held_.reset();
}
